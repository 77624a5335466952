// An Ogg Vorbis file decoded a piece at a time as it plays, converted to the
// output's own format on the way. Only a small buffer is held, so a long track
// costs about as little memory as a short one.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace platform {

class OggStream {
 public:
  // The format pieces are handed out in: an SDL audio format, interleaved
  // channels and frames per second.
  struct Output {
    std::uint16_t format = 0;
    int channels = 0;
    int rate = 0;
  };

  // Bytes of 16-bit sound decoded at a time; the most the stream ever holds
  // beyond one piece of output is this, converted.
  static constexpr std::size_t kDecodeBytes = 4096;

  // Null for a file that is missing or holds no Vorbis sound; `error` then
  // names the file and what is wrong. `notVorbis` tells a readable Ogg file of
  // some other codec apart from a damaged one.
  static std::unique_ptr<OggStream> Open(const std::string& file, const Output& output, bool loop,
                                         std::string& error, bool* notVorbis = nullptr);
  ~OggStream();
  OggStream(const OggStream&) = delete;
  OggStream& operator=(const OggStream&) = delete;

  // Fills `out` (whole output frames) with the next piece of sound. A looping
  // stream wraps to its start without a gap; one that does not loop fills the
  // rest with silence once its sound is over. Returns the bytes of sound, so a
  // caller can carry on with another stream where this one ended.
  std::size_t Fill(std::span<std::uint8_t> out);
  // Back to the start, not finished. Never while another thread fills.
  bool Rewind();
  // True once every sample of a stream that does not loop has been handed out.
  // Safe to read from any thread.
  bool Finished() const { return m_finished.load(std::memory_order_acquire); }
  // Converted sound waiting for the next Fill.
  std::size_t HeldBytes() const;

 private:
  struct Decoder;
  OggStream(std::unique_ptr<Decoder> decoder, bool loop, std::uint8_t silence);
  // Decodes one piece into the converter; false at the end of the sound.
  bool DecodePiece();

  std::unique_ptr<Decoder> m_decoder;
  bool m_loop;
  std::uint8_t m_silence;
  bool m_drained = false;  // the decoder reached the end and the converter was flushed
  std::atomic<bool> m_finished{false};
  std::vector<char> m_piece;
};

}  // namespace platform
