// Ogg Vorbis decoded piece by piece: the same samples as a whole decode, a loop
// that joins its end to its first sample, a small buffer however long the
// track, and clear failures for files that cannot play.
#include <SDL.h>
#include <gtest/gtest.h>
#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/OggStream.h"
#include "platform/OggTestFiles.h"
#include "support/TempDir.h"

namespace {

using platform::OggStream;

const OggStream::Output kCdStereo{AUDIO_S16SYS, 2, 44100};

// The whole file through libvorbisfile alone, as 16-bit host-order samples.
std::vector<std::int16_t> DecodeWhole(const std::filesystem::path& file) {
  OggVorbis_File vf;
  EXPECT_EQ(ov_fopen(file.string().c_str(), &vf), 0);
  std::vector<std::int16_t> samples;
  char piece[4096];
  int link = 0;
  for (long got; (got = ov_read(&vf, piece, sizeof piece, SDL_BYTEORDER == SDL_BIG_ENDIAN, 2, 1,
                                &link)) != 0;) {
    if (got < 0) continue;
    const auto* first = reinterpret_cast<const std::int16_t*>(piece);
    samples.insert(samples.end(), first, first + got / 2);
  }
  ov_clear(&vf);
  return samples;
}

// `count` samples from `stream`, in pieces of `frames` frames of `channels`.
std::vector<std::int16_t> Take(OggStream& stream, std::size_t count, std::size_t frames,
                               int channels = 2) {
  std::vector<std::int16_t> out(count);
  const std::size_t step = frames * static_cast<std::size_t>(channels);
  for (std::size_t at = 0; at < count; at += step) {
    const std::size_t n = std::min(step, count - at);
    stream.Fill(std::span(reinterpret_cast<std::uint8_t*>(out.data() + at), n * 2));
  }
  return out;
}

class OggStreamTest : public ::testing::Test {
 protected:
  void SetUp() override { audiotest::WriteToneOgg(dir / "tone.ogg", 1.3); }

  std::unique_ptr<OggStream> Open(const std::string& name, bool loop,
                                  const OggStream::Output& output = kCdStereo) {
    std::string error;
    auto stream = OggStream::Open((dir / name).string(), output, loop, error);
    EXPECT_NE(stream, nullptr) << error;
    return stream;
  }

  testsupport::TempDir dir;
};

// Pieces as small as a frame and as large as the mixer ever asks for, and sizes
// that never line up with the decoder's own.
TEST_F(OggStreamTest, PiecesOfAnySizeGiveExactlyTheWholeDecodeThenSilence) {
  const std::vector<std::int16_t> whole = DecodeWhole(dir / "tone.ogg");
  ASSERT_GT(whole.size(), 100000u);
  for (std::size_t frames : {1u, 37u, 1024u, 8192u}) {
    SCOPED_TRACE(frames);
    auto stream = Open("tone.ogg", false);
    ASSERT_TRUE(stream);
    const std::vector<std::int16_t> body = Take(*stream, whole.size(), frames);
    EXPECT_TRUE(body == whole);
    EXPECT_FALSE(stream->Finished()) << "the last sample was handed out, no more";
    const std::vector<std::int16_t> after = Take(*stream, 3000, frames);
    EXPECT_TRUE(std::all_of(after.begin(), after.end(), [](std::int16_t s) { return s == 0; }));
    EXPECT_TRUE(stream->Finished());
  }
}

TEST_F(OggStreamTest, LoopJoinsTheLastSampleToTheFirstAndNeverFinishes) {
  const std::vector<std::int16_t> whole = DecodeWhole(dir / "tone.ogg");
  auto stream = Open("tone.ogg", true);
  ASSERT_TRUE(stream);
  for (int pass = 0; pass < 3; ++pass) {
    SCOPED_TRACE(pass);
    EXPECT_TRUE(Take(*stream, whole.size(), 1000) == whole);
    EXPECT_FALSE(stream->Finished());
  }
}

TEST_F(OggStreamTest, RewindStartsAgainFromTheFirstSampleAndClearsTheEnd) {
  const std::vector<std::int16_t> whole = DecodeWhole(dir / "tone.ogg");
  const std::vector<std::int16_t> start(whole.begin(), whole.begin() + 20000);
  // Rewound at the start, midway, and after the end.
  for (std::size_t played : {std::size_t{0}, whole.size() / 2, whole.size() + 5000}) {
    SCOPED_TRACE(played);
    auto stream = Open("tone.ogg", false);
    ASSERT_TRUE(stream);
    Take(*stream, played, 512);
    ASSERT_TRUE(stream->Rewind());
    EXPECT_FALSE(stream->Finished());
    EXPECT_TRUE(Take(*stream, start.size(), 700) == start);
  }
}

// An eighty-second track costs a decoder and a piece, not the track: what the
// stream holds between pieces stays a fraction of a second of sound.
TEST_F(OggStreamTest, ALongTrackIsHeldOnlyAPieceAtATime) {
  audiotest::WriteOgg(dir / "long.ogg", 80, 2, 44100, [](int frame, int channel) {
    return channel == 0 ? 0.3f * static_cast<float>((frame / 50) % 2) : 0.0f;
  });
  const std::size_t secondOfOutput = 44100 * 4;
  for (std::size_t frames : {64u, 1024u, 8192u}) {
    SCOPED_TRACE(frames);
    auto stream = Open("long.ogg", false);
    ASSERT_TRUE(stream);
    std::vector<std::uint8_t> piece(frames * 4);
    std::size_t most = 0, total = 0;
    while (!stream->Finished()) {
      stream->Fill(piece);
      most = std::max(most, stream->HeldBytes());
      total += piece.size();
    }
    EXPECT_GE(total, 80 * secondOfOutput);
    EXPECT_LE(most, OggStream::kDecodeBytes * 2);
    EXPECT_LT(most, secondOfOutput / 10);
  }
}

// Whatever the output opened at, the track comes out at its rate and channels,
// as long as it lasts.
TEST_F(OggStreamTest, ConvertsToTheOutputsOwnRateAndChannels) {
  const std::vector<std::int16_t> whole = DecodeWhole(dir / "tone.ogg");
  const double seconds = static_cast<double>(whole.size() / 2) / 44100;
  const struct {
    OggStream::Output output;
    int bytesPerSample;
  } cases[] = {{{AUDIO_S16SYS, 2, 48000}, 2},
               {{AUDIO_S16SYS, 1, 22050}, 2},
               {{AUDIO_F32SYS, 2, 44100}, 4},
               {{AUDIO_S16SYS, 6, 44100}, 2}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.output.rate) + " Hz, " + std::to_string(c.output.channels));
    auto stream = Open("tone.ogg", false, c.output);
    ASSERT_TRUE(stream);
    const std::size_t frameBytes = static_cast<std::size_t>(c.bytesPerSample * c.output.channels);
    std::vector<std::uint8_t> piece(1000 * frameBytes);
    std::size_t frames = 0;
    bool heard = false;
    while (!stream->Finished()) {
      stream->Fill(piece);
      heard = heard || std::any_of(piece.begin(), piece.end(), [](std::uint8_t b) { return b; });
      frames += 1000;
    }
    EXPECT_TRUE(heard);
    const double expected = seconds * c.output.rate;
    EXPECT_NEAR(static_cast<double>(frames), expected, 1000 + expected * 0.01);
  }
}

// Resampled to another rate, the track's last frames sit in the converter when
// the decoder runs dry: they still come out, exactly what one conversion of the
// whole decode gives, before the silence.
TEST_F(OggStreamTest, AResampledTrackEndsWithItsLastConvertedFrames) {
  for (int rate : {48000, 22050}) {
    // The decode converted as the stream converts it, a decoder's piece at a time.
    SDL_AudioStream* converter = SDL_NewAudioStream(AUDIO_S16SYS, 2, 44100, AUDIO_S16SYS, 2, rate);
    ASSERT_NE(converter, nullptr);
    OggVorbis_File vf;
    ASSERT_EQ(ov_fopen((dir / "tone.ogg").string().c_str(), &vf), 0);
    char piece[OggStream::kDecodeBytes];
    int link = 0;
    for (long got; (got = ov_read(&vf, piece, sizeof piece, SDL_BYTEORDER == SDL_BIG_ENDIAN, 2, 1,
                                  &link)) > 0;)
      SDL_AudioStreamPut(converter, piece, static_cast<int>(got));
    ov_clear(&vf);
    SDL_AudioStreamFlush(converter);
    std::vector<std::uint8_t> expected(static_cast<std::size_t>(SDL_AudioStreamAvailable(converter)));
    SDL_AudioStreamGet(converter, expected.data(), static_cast<int>(expected.size()));
    SDL_FreeAudioStream(converter);
    for (std::size_t frames : {1u, 1024u}) {
      SCOPED_TRACE(std::to_string(rate) + " Hz in pieces of " + std::to_string(frames));
      auto stream = Open("tone.ogg", false, {AUDIO_S16SYS, 2, rate});
      ASSERT_TRUE(stream);
      std::vector<std::uint8_t> heard, out(frames * 4);
      while (!stream->Finished()) {
        const auto got = static_cast<std::ptrdiff_t>(stream->Fill(out));
        heard.insert(heard.end(), out.begin(), out.begin() + got);
      }
      EXPECT_EQ(heard.size(), expected.size());
      EXPECT_TRUE(heard == expected);
    }
  }
}

std::string ReadAll(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// Whether a file is Ogg at all decides whether the mixer may try it instead.
TEST_F(OggStreamTest, FilesThatCannotPlayFailWithAMessageNamingThem) {
  const std::string ogg = ReadAll(dir / "tone.ogg");
  enum Other { kNo, kYes, kEither };
  const struct {
    const char* name;
    const char* bytes;  // null: the file is missing
    std::size_t size;
    Other notVorbis;
  } cases[] = {
      {"missing.ogg", nullptr, 0, kNo},
      {"empty.ogg", "", 0, kEither},
      {"headers-cut.ogg", ogg.data(), 60, kEither},
      {"garbage.ogg", "OggS\x5a\x5a\x5a\x5a\x5a\x5a\x5a\x5a\x5a\x5a\x5a\x5a", 16, kEither},
      {"wave.ogg", "RIFF\x24\0\0\0WAVEfmt ", 16, kYes},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::filesystem::path path = dir / c.name;
    if (c.bytes) audiotest::WriteBytes(path, std::string(c.bytes, c.size));
    std::string error;
    bool notVorbis = c.notVorbis != kYes;
    EXPECT_EQ(OggStream::Open(path.string(), kCdStereo, false, error, &notVorbis), nullptr);
    EXPECT_NE(error.find(path.string()), std::string::npos) << error;
    if (c.notVorbis != kEither) {
      EXPECT_EQ(notVorbis, c.notVorbis == kYes) << error;
    }
  }
}

// A file cut short in the middle of its sound plays what it has, then ends.
TEST_F(OggStreamTest, ATrackCutShortPlaysWhatItHasAndEnds) {
  audiotest::WriteToneOgg(dir / "five.ogg", 5);
  const std::string ogg = ReadAll(dir / "five.ogg");
  audiotest::WriteBytes(dir / "half.ogg", ogg.substr(0, ogg.size() / 2));
  const std::vector<std::int16_t> half = DecodeWhole(dir / "half.ogg");
  ASSERT_LT(half.size(), DecodeWhole(dir / "five.ogg").size() * 3 / 4);
  ASSERT_GT(half.size(), 44100u);
  auto stream = Open("half.ogg", false);
  ASSERT_TRUE(stream);
  EXPECT_TRUE(Take(*stream, half.size(), 1024) == half);
  Take(*stream, 2048, 1024);
  EXPECT_TRUE(stream->Finished());
}

}  // namespace
