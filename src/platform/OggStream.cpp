#include "platform/OggStream.h"

#include <SDL.h>
#include <vorbis/vorbisfile.h>

#include <cstring>

namespace platform {

namespace {

// libvorbisfile reads through SDL's file access, like every other sound file.
std::size_t ReadSource(void* buffer, std::size_t size, std::size_t count, void* source) {
  return SDL_RWread(static_cast<SDL_RWops*>(source), buffer, size, count);
}

int SeekSource(void* source, ogg_int64_t offset, int whence) {
  return SDL_RWseek(static_cast<SDL_RWops*>(source), offset, whence) < 0 ? -1 : 0;
}

int CloseSource(void* source) {
  return SDL_RWclose(static_cast<SDL_RWops*>(source));
}

long TellSource(void* source) {
  return static_cast<long>(SDL_RWtell(static_cast<SDL_RWops*>(source)));
}

const char* OpenFault(int result) {
  switch (result) {
    case OV_EREAD:
      return "cannot be read";
    case OV_ENOTVORBIS:
      return "holds no Ogg Vorbis sound";
    case OV_EVERSION:
      return "has a Vorbis version this game cannot play";
    case OV_EBADHEADER:
      return "has a damaged Vorbis header";
    default:
      return "is not a playable Ogg Vorbis file";
  }
}

}  // namespace

struct OggStream::Decoder {
  ~Decoder() {
    if (converter) SDL_FreeAudioStream(converter);
    if (opened) ov_clear(&file);  // closes the source too
  }

  OggVorbis_File file{};
  bool opened = false;
  SDL_AudioStream* converter = nullptr;
};

std::unique_ptr<OggStream> OggStream::Open(const std::string& file, const Output& output, bool loop,
                                           std::string& error, bool* notVorbis) {
  if (notVorbis) *notVorbis = false;
  SDL_RWops* source = SDL_RWFromFile(file.c_str(), "rb");
  if (!source) {
    error = file + ": cannot be opened";
    return nullptr;
  }
  auto decoder = std::make_unique<Decoder>();
  const ov_callbacks callbacks{&ReadSource, &SeekSource, &CloseSource, &TellSource};
  const int result = ov_open_callbacks(source, &decoder->file, nullptr, 0, callbacks);
  if (result != 0) {
    SDL_RWclose(source);  // a failed open leaves its source to the caller
    if (notVorbis) *notVorbis = result == OV_ENOTVORBIS;
    error = file + ": " + OpenFault(result);
    return nullptr;
  }
  decoder->opened = true;
  const vorbis_info* info = ov_info(&decoder->file, -1);
  if (!info || info->channels < 1 || info->rate < 1) {
    error = file + ": has no sound format";
    return nullptr;
  }
  decoder->converter =
      SDL_NewAudioStream(AUDIO_S16SYS, static_cast<Uint8>(info->channels),
                         static_cast<int>(info->rate), static_cast<SDL_AudioFormat>(output.format),
                         static_cast<Uint8>(output.channels), output.rate);
  if (!decoder->converter) {
    error = file + ": " + std::to_string(info->channels) + " channels at " +
            std::to_string(info->rate) + " Hz cannot be converted for the output (" +
            SDL_GetError() + ")";
    return nullptr;
  }
  const std::uint8_t silence = output.format == AUDIO_U8 ? 0x80 : 0;
  return std::unique_ptr<OggStream>(new OggStream(std::move(decoder), loop, silence));
}

OggStream::OggStream(std::unique_ptr<Decoder> decoder, bool loop, std::uint8_t silence)
    : m_decoder(std::move(decoder)), m_loop(loop), m_silence(silence), m_piece(kDecodeBytes) {}

OggStream::~OggStream() = default;

std::size_t OggStream::Fill(std::span<std::uint8_t> out) {
  std::size_t done = 0;
  while (done < out.size()) {
    const int got = SDL_AudioStreamGet(m_decoder->converter, out.data() + done,
                                       static_cast<int>(out.size() - done));
    if (got > 0) {
      done += static_cast<std::size_t>(got);
      continue;
    }
    if (m_drained) break;
    if (got < 0) {
      m_drained = true;
    } else if (!DecodePiece()) {
      SDL_AudioStreamFlush(m_decoder->converter);  // the resampler's last frames
      m_drained = true;
    }
  }
  if (done < out.size()) {
    std::memset(out.data() + done, m_silence, out.size() - done);
    m_finished.store(true, std::memory_order_release);
  }
  return done;
}

bool OggStream::DecodePiece() {
  constexpr int kBigEndian = SDL_BYTEORDER == SDL_BIG_ENDIAN ? 1 : 0;
  bool wrapped = false;
  for (;;) {
    int link = 0;
    const long got = ov_read(&m_decoder->file, m_piece.data(), static_cast<int>(m_piece.size()),
                             kBigEndian, 2, 1, &link);
    if (got > 0)
      return SDL_AudioStreamPut(m_decoder->converter, m_piece.data(), static_cast<int>(got)) == 0;
    if (got == OV_HOLE) continue;  // damaged pages are skipped, as players do
    // The end (or an error that ends it). A loop wraps to the first sample; one
    // that gives nothing even then would spin, so it ends instead.
    if (got < 0 || !m_loop || wrapped) return false;
    if (ov_pcm_seek(&m_decoder->file, 0) != 0) return false;
    wrapped = true;
  }
}

bool OggStream::Rewind() {
  SDL_AudioStreamClear(m_decoder->converter);
  m_drained = false;
  m_finished.store(false, std::memory_order_release);
  return ov_pcm_seek(&m_decoder->file, 0) == 0;
}

std::size_t OggStream::HeldBytes() const {
  return static_cast<std::size_t>(SDL_AudioStreamAvailable(m_decoder->converter));
}

}  // namespace platform
