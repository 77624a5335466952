// Recipe reader, synthesiser and WAV encoder; format in SoundSynth.h.
#include "SoundSynth.h"

#include <vorbis/vorbisenc.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <fstream>
#include <map>
#include <sstream>

#include "Loudness.h"
#include "PaintKit.h"

namespace assetgen {
namespace {

constexpr double kTwoPi = 2 * kPi;
constexpr double kMaxSeconds = 120;
constexpr double kHeadroom = 0.9;  // peak level after mixing
// Music keeps more room: lossy encoding lets peaks overshoot a little.
constexpr double kMusicHeadroom = 0.79;
constexpr double kMaxMusicSeconds = 180;
// Every track is brought to this loudness (LUFS) before its peaks are held in.
constexpr double kMusicLoudness = -17;
// How much later the far side of a spread single-oscillator line sounds.
constexpr double kSpreadDelay = 0.013;

using KeyValues = std::map<std::string, std::string>;

struct Context {
  std::string origin;
  int line;
  [[noreturn]] void Fail(const std::string& message) const {
    throw SourceError(origin + ":" + std::to_string(line) + ": " + message);
  }
};

KeyValues Parse(const Context& ctx, const std::vector<std::string>& tokens, size_t from) {
  KeyValues kv;
  for (size_t i = from; i < tokens.size(); ++i) {
    auto eq = tokens[i].find('=');
    if (eq == std::string::npos || eq == 0 || eq + 1 == tokens[i].size())
      ctx.Fail("'" + tokens[i] + "' is not key=value");
    kv[tokens[i].substr(0, eq)] = tokens[i].substr(eq + 1);
  }
  return kv;
}

double ToNumber(const Context& ctx, const std::string& text) {
  double v = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
  if (ec != std::errc() || end != text.data() + text.size() || !std::isfinite(v))
    ctx.Fail("'" + text + "' is not a number");
  return v;
}

class Keys {
 public:
  Keys(const Context& ctx, KeyValues kv, std::initializer_list<const char*> allowed)
      : m_ctx(ctx), m_kv(std::move(kv)) {
    for (const auto& [key, value] : m_kv) {
      bool ok = false;
      for (const char* a : allowed) ok = ok || key == a;
      if (!ok) m_ctx.Fail("unknown parameter '" + key + "'");
    }
  }
  double Num(const char* key, double fallback, double low, double high) const {
    auto it = m_kv.find(key);
    if (it == m_kv.end()) return fallback;
    double v = ToNumber(m_ctx, it->second);
    if (v < low || v > high)
      m_ctx.Fail(std::string(key) + "=" + it->second + " is outside " + Short(low) + ".." +
                 Short(high));
    return v;
  }
  double Required(const char* key, double low, double high) const {
    if (!m_kv.count(key)) m_ctx.Fail(std::string("missing ") + key + "=");
    return Num(key, 0, low, high);
  }
  std::string Text(const char* key, const std::string& fallback) const {
    auto it = m_kv.find(key);
    return it == m_kv.end() ? fallback : it->second;
  }
  // "a:b" pairs such as vibrato=6:0.02 or lowpass=3000:400; a single value gives (a, a).
  std::pair<double, double> Pair(const char* key, double fallback) const {
    auto it = m_kv.find(key);
    if (it == m_kv.end()) return {fallback, fallback};
    auto colon = it->second.find(':');
    if (colon == std::string::npos) {
      double v = ToNumber(m_ctx, it->second);
      return {v, v};
    }
    return {ToNumber(m_ctx, it->second.substr(0, colon)),
            ToNumber(m_ctx, it->second.substr(colon + 1))};
  }
  const Context& Ctx() const { return m_ctx; }

 private:
  static std::string Short(double v) {
    std::ostringstream s;
    s << v;
    return s.str();
  }
  Context m_ctx;
  KeyValues m_kv;
};

enum class Wave { kSine, kSquare, kSaw, kTriangle, kNoise };

Wave ParseWave(const Context& ctx, const std::string& name) {
  if (name == "sine") return Wave::kSine;
  if (name == "square") return Wave::kSquare;
  if (name == "saw") return Wave::kSaw;
  if (name == "triangle") return Wave::kTriangle;
  if (name == "noise") return Wave::kNoise;
  ctx.Fail("unknown wave '" + name + "'");
}

struct Envelope {
  double attack = 0.005, decay = 0, release = 0.02;
  // Level at time t of a sound lasting `length` seconds.
  double At(double t, double length) const {
    double level = attack > 0 && t < attack ? t / attack : 1.0;
    if (decay > 0 && t > attack) level *= std::exp(-(t - attack) / decay);
    if (release > 0 && t > length - release) level *= std::max(0.0, (length - t) / release);
    return level;
  }
};

// One oscillator with its own phase, noise state and low-pass filter.
class Oscillator {
 public:
  Oscillator(Wave wave, std::uint32_t seed) : m_wave(wave), m_rng(seed) {}
  double Step(double freq, double rate) {
    m_phase += freq / rate;
    bool wrapped = m_phase >= 1.0;
    m_phase -= std::floor(m_phase);
    switch (m_wave) {
      case Wave::kSine:
        return std::sin(kTwoPi * m_phase);
      case Wave::kSquare:
        return m_phase < 0.5 ? 0.8 : -0.8;
      case Wave::kSaw:
        return 2 * m_phase - 1;
      case Wave::kTriangle:
        return 4 * std::fabs(m_phase - 0.5) - 1;
      case Wave::kNoise:
        // Sample-and-hold noise: the pitch sets how often a new value is drawn.
        if (wrapped || !m_started) m_hold = m_rng.Uniform() * 2 - 1;
        m_started = true;
        return m_hold;
    }
    return 0;
  }
  double Filter(double x, double cutoff, double rate) {
    if (cutoff <= 0) return x;
    double a = 1 - std::exp(-kTwoPi * cutoff / rate);
    m_low += a * (x - m_low);
    return m_low;
  }

 private:
  Wave m_wave;
  Lcg m_rng;
  double m_phase = 0, m_hold = 0, m_low = 0;
  bool m_started = false;
};

Envelope ParseEnvelope(const Keys& k) {
  Envelope e;
  e.attack = k.Num("attack", e.attack, 0, 10);
  e.decay = k.Num("decay", e.decay, 0, 60);
  e.release = k.Num("release", e.release, 0, 10);
  return e;
}

struct Tone {
  Wave wave;
  double f0, f1, start, dur, gain;
  Envelope env;
  std::pair<double, double> vibrato, lowpass;
  std::uint32_t seed;
};

Tone ParseTone(const Context& ctx, const std::vector<std::string>& t, double length) {
  Keys k(ctx, Parse(ctx, t, 1),
         {"wave", "f0", "f1", "start", "dur", "attack", "decay", "release", "gain", "vibrato",
          "lowpass", "seed"});
  Tone tone;
  tone.wave = ParseWave(ctx, k.Text("wave", "sine"));
  tone.f0 = k.Required("f0", 1, 20000);
  tone.f1 = k.Num("f1", tone.f0, 1, 20000);
  tone.start = k.Num("start", 0, 0, length);
  tone.dur = k.Required("dur", 0.001, kMaxSeconds);
  if (tone.start + tone.dur > length + 1e-9) ctx.Fail("the layer runs past the sound's length");
  tone.gain = k.Num("gain", 0.5, 0, 4);
  tone.env = ParseEnvelope(k);
  tone.vibrato = k.Pair("vibrato", 0);
  tone.lowpass = k.Pair("lowpass", 0);
  tone.seed = static_cast<std::uint32_t>(k.Num("seed", 1, 0, 4294967295.0));
  return tone;
}

void RenderTone(const Tone& tone, int rate, std::vector<float>& out) {
  Oscillator osc(tone.wave, tone.seed);
  size_t first = static_cast<size_t>(std::lround(tone.start * rate));
  size_t count = static_cast<size_t>(std::lround(tone.dur * rate));
  for (size_t s = 0; s < count && first + s < out.size(); ++s) {
    double t = double(s) / rate, u = t / tone.dur;
    double f = tone.f0 * std::pow(tone.f1 / tone.f0, u);
    if (tone.vibrato.first > 0)
      f *= 1 + tone.vibrato.second * std::sin(kTwoPi * tone.vibrato.first * t);
    double x = osc.Step(f, rate);
    double cutoff = tone.lowpass.first > 0
                        ? tone.lowpass.first * std::pow(tone.lowpass.second / tone.lowpass.first, u)
                        : 0;
    x = osc.Filter(x, cutoff, rate);
    out[first + s] += static_cast<float>(tone.gain * tone.env.At(t, tone.dur) * x);
  }
}

void Normalize(std::vector<float>& samples, double headroom) {
  float peak = 0;
  for (float s : samples) peak = std::max(peak, std::fabs(s));
  if (peak > headroom)
    for (float& s : samples) s = static_cast<float>(s * (headroom / peak));
}

double NoteFrequency(const Context& ctx, const std::string& note) {
  static const int kSemitone[] = {9, 11, 0, 2, 4, 5, 7};  // A B C D E F G
  if (note.size() < 2 || note[0] < 'A' || note[0] > 'G') ctx.Fail("bad note '" + note + "'");
  int semitone = kSemitone[note[0] - 'A'];
  size_t pos = 1;
  if (note[pos] == '#')
    ++semitone, ++pos;
  else if (note[pos] == 'b')
    --semitone, ++pos;
  int octave = 0;
  auto [end, ec] = std::from_chars(note.data() + pos, note.data() + note.size(), octave);
  if (ec != std::errc() || end != note.data() + note.size() || octave < 0 || octave > 8)
    ctx.Fail("bad note '" + note + "'");
  int midi = 12 * (octave + 1) + semitone;
  return 440.0 * std::pow(2.0, (midi - 69) / 12.0);
}

// Where the lines of one section sound in a piece: its first step and its transposition.
struct Placement {
  int firstStep = 0;
  int sectionSteps = 0;
  int transpose = 0;
  const char* unit = "loop";  // what the steps fill, for messages
};

// A stereo piece being mixed; a sound's tail past the end wraps to the start, so the piece
// loops without a click. With `dry` set nothing is rendered: the lines are only checked.
struct StereoMix {
  std::vector<float> left, right, echoSend;
  int rate = 0;
  double stepSeconds = 0;
  bool dry = false;

  size_t FrameOf(int step) const {
    return static_cast<size_t>(std::lround(step * stepSeconds * rate));
  }
  // Equal-power panning, scaled so a centred sound keeps its level in each channel.
  void Add(size_t at, const std::vector<float>& sound, double pan, double echo) {
    const double angle = (std::clamp(pan, -1.0, 1.0) + 1) * kPi / 4;
    // cos(pi/2) is not quite 0: a hard pan must leave the other side silent.
    const float l = pan >= 1 ? 0.0f : static_cast<float>(std::cos(angle) * std::sqrt(2.0));
    const float r = pan <= -1 ? 0.0f : static_cast<float>(std::sin(angle) * std::sqrt(2.0));
    const size_t n = left.size();
    for (size_t s = 0; s < sound.size(); ++s) {
      const size_t i = (at + s) % n;
      left[i] += l * sound[s];
      right[i] += r * sound[s];
      if (echo > 0) echoSend[i] += static_cast<float>(echo) * sound[s];
    }
  }
};

// "C4+E4:4*2": the pitches sounding together, their steps and how many times in a row.
struct NoteItem {
  std::vector<double> freqs;  // empty for a rest
  int steps = 0, repeats = 1;
};

int PositiveCount(const Context& ctx, const std::string& item, const std::string& text) {
  int v = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
  if (ec != std::errc() || end != text.data() + text.size() || v < 1)
    ctx.Fail("note '" + item + "' has a bad length");
  return v;
}

NoteItem ParseNoteItem(const Context& ctx, const std::string& item, int transpose) {
  auto colon = item.find(':');
  if (colon == std::string::npos) ctx.Fail("note '" + item + "' is not NOTE:STEPS");
  NoteItem note;
  std::string length = item.substr(colon + 1);
  auto star = length.find('*');
  if (star != std::string::npos) {
    note.repeats = PositiveCount(ctx, item, length.substr(star + 1));
    length.resize(star);
  }
  note.steps = PositiveCount(ctx, item, length);
  std::string names = item.substr(0, colon);
  if (names == "-") return note;
  std::istringstream chord(names);
  for (std::string name; std::getline(chord, name, '+');)
    note.freqs.push_back(NoteFrequency(ctx, name) * std::pow(2.0, transpose / 12.0));
  return note;
}

void RenderVoice(const Context& ctx, const std::vector<std::string>& t, const Placement& at,
                 StereoMix& mix) {
  Keys k(ctx, Parse(ctx, t, 1),
         {"wave", "notes", "gain", "attack", "decay", "release", "pan", "lowpass", "vibrato",
          "detune", "echo", "spread"});
  Wave wave = ParseWave(ctx, k.Text("wave", "square"));
  double gain = k.Num("gain", 0.3, 0, 4);
  Envelope env = ParseEnvelope(k);
  double pan = k.Num("pan", 0, -1, 1);
  double cutoff = k.Num("lowpass", 0, 0, 20000);
  auto vibrato = k.Pair("vibrato", 0);
  double detune = std::pow(2.0, k.Num("detune", 0, 0, 100) / 1200.0);
  double echo = k.Num("echo", 0, 0, 1);
  double spread = k.Num("spread", 0, 0, 1);
  std::string notes = k.Text("notes", "");
  if (notes.empty()) ctx.Fail("a voice needs notes=");
  int step = 0;
  std::istringstream list(notes);
  std::string item;
  while (std::getline(list, item, ',')) {
    NoteItem note = ParseNoteItem(ctx, item, at.transpose);
    for (int r = 0; r < note.repeats; ++r, step += note.steps) {
      if (note.freqs.empty() || mix.dry) continue;
      double length = note.steps * mix.stepSeconds;
      std::vector<float> sound(static_cast<size_t>(std::lround(length * mix.rate)), 0.0f);
      // With a spread, the detuned twin sounds on the other side of the pan.
      const bool twinApart = spread > 0 && detune > 1;
      std::vector<float> twin(twinApart ? sound.size() : 0, 0.0f);
      // Each pitch gets its own oscillators; a detuned twin thickens the tone.
      double share = 1.0 / (note.freqs.size() * (detune > 1 ? 1.6 : 1.0));
      for (size_t p = 0; p < note.freqs.size(); ++p) {
        Oscillator a(wave, 7u + at.firstStep + step + p), b(wave, 11u + step + p);
        double low1 = 0, low2 = 0, twin1 = 0, twin2 = 0;
        double alpha = cutoff > 0 ? 1 - std::exp(-kTwoPi * cutoff / mix.rate) : 1;
        for (size_t s = 0; s < sound.size(); ++s) {
          double time = double(s) / mix.rate;
          double f = note.freqs[p];
          if (vibrato.first > 0) f *= 1 + vibrato.second * std::sin(kTwoPi * vibrato.first * time);
          double x = a.Step(f, mix.rate);
          const double level = share * gain * env.At(time, length);
          if (twinApart) {
            const double y = b.Step(f * detune, mix.rate);
            twin1 += alpha * (y - twin1);
            twin2 += alpha * (twin1 - twin2);
            twin[s] += static_cast<float>(level * twin2);
          } else if (detune > 1) {
            x += b.Step(f * detune, mix.rate);
          }
          // Two one-pole stages: a gentle slope that rounds off square and saw edges.
          low1 += alpha * (x - low1);
          low2 += alpha * (low1 - low2);
          sound[s] += static_cast<float>(level * low2);
        }
      }
      const size_t frame = mix.FrameOf(at.firstStep + step);
      if (twinApart) {
        mix.Add(frame, sound, pan - spread, echo);
        mix.Add(frame, twin, pan + spread, echo);
      } else if (spread > 0) {
        // One oscillator: the far side hears it a few milliseconds late, which widens it.
        for (float& v : sound) v = static_cast<float>(v * std::sqrt(0.5));
        mix.Add(frame, sound, pan - spread, echo);
        mix.Add(frame + static_cast<size_t>(kSpreadDelay * mix.rate), sound, pan + spread, 0);
      } else {
        mix.Add(frame, sound, pan, echo);
      }
    }
  }
  if (step != at.sectionSteps)
    ctx.Fail("the notes last " + std::to_string(step) + " steps, the " + at.unit + " " +
             std::to_string(at.sectionSteps));
}

// The layers of each drum, gains as shares of the line's gain. Noise layers draw a fresh
// seed per step (the step plus `seed`), so repeated hits are not identical.
struct DrumLayer {
  char drum;
  Tone tone;
};
const DrumLayer kDrumLayers[] = {
    {'k', {Wave::kSine, 150, 45, 0, 0.18, 1, {0.002, 0.07, 0.02}, {0, 0}, {0, 0}, 1}},
    {'s', {Wave::kNoise, 9000, 7000, 0, 0.16, 0.6, {0.001, 0.05, 0.03}, {0, 0}, {5000, 2500}, 5}},
    {'s', {Wave::kTriangle, 200, 160, 0, 0.1, 0.4, {0.001, 0.04, 0.02}, {0, 0}, {0, 0}, 1}},
    {'h', {Wave::kNoise, 16000, 16000, 0, 0.05, 0.25, {0.001, 0.012, 0.01}, {0, 0}, {0, 0}, 9}},
    {'o', {Wave::kNoise, 16000, 16000, 0, 0.3, 0.2, {0.001, 0.09, 0.05}, {0, 0}, {0, 0}, 9}},
    {'c', {Wave::kNoise, 14000, 11000, 0, 1.4, 0.22, {0.002, 0.45, 0.3}, {0, 0}, {9000, 5000}, 13}},
    {'t', {Wave::kSine, 170, 95, 0, 0.3, 0.8, {0.002, 0.12, 0.05}, {0, 0}, {0, 0}, 1}},
    {'x', {Wave::kNoise, 12000, 12000, 0, 0.12, 0.3, {0.015, 0.03, 0.03}, {0, 0}, {0, 0}, 17}},
};

void RenderDrums(const Context& ctx, const std::vector<std::string>& t, const Placement& at,
                 StereoMix& mix) {
  Keys k(ctx, Parse(ctx, t, 1), {"pattern", "gain", "pan"});
  std::string pattern = k.Text("pattern", "");
  double gain = k.Num("gain", 0.5, 0, 4);
  double pan = k.Num("pan", 0, -1, 1);
  if (pattern.empty() || at.sectionSteps % pattern.size() != 0)
    ctx.Fail("the drum pattern's length must divide the loop's steps");
  for (int step = 0; step < at.sectionSteps; ++step) {
    char c = pattern[step % pattern.size()];
    if (c == '.') continue;
    std::vector<Tone> layers;
    for (const DrumLayer& layer : kDrumLayers) {
      if (layer.drum != c) continue;
      Tone tone = layer.tone;
      tone.gain *= gain;
      if (tone.wave == Wave::kNoise) tone.seed += static_cast<std::uint32_t>(at.firstStep + step);
      layers.push_back(tone);
    }
    if (layers.empty()) ctx.Fail(std::string("unknown drum '") + c + "'");
    if (mix.dry) continue;
    for (const Tone& tone : layers) {
      std::vector<float> sound(static_cast<size_t>(std::lround(tone.dur * mix.rate)), 0.0f);
      RenderTone(tone, mix.rate, sound);
      mix.Add(mix.FrameOf(at.firstStep + step), sound, pan, 0);
    }
  }
}

// A ping-pong echo of the send, as it sounds once the loop has played a while: the delay line
// runs two laps round the loop and only the second is kept.
void AddEcho(StereoMix& mix, double seconds, double feedback) {
  const size_t n = mix.left.size();
  const size_t delay = static_cast<size_t>(std::lround(seconds * mix.rate)) % n;
  if (delay == 0 || mix.dry) return;
  std::vector<float> l(n, 0.0f), r(n, 0.0f);
  for (int lap = 0; lap < 2; ++lap) {
    for (size_t i = 0; i < n; ++i) {
      const size_t from = (i + n - delay) % n;
      l[i] = static_cast<float>(mix.echoSend[from] + feedback * r[from]);
      r[i] = static_cast<float>(feedback * l[from]);
    }
  }
  for (size_t i = 0; i < n; ++i) {
    mix.left[i] += l[i];
    mix.right[i] += r[i];
  }
}

// A room around the whole mix: parallel damped combs and allpasses per side, tuned a little
// apart so the two sides' tails differ, which is what widens the sound. The lows stay out of
// the room. Like the echo it runs round the loop: it starts warmed by the loop's last
// seconds, so the loop's start hears the end's tail.
void AddRoom(StereoMix& mix, double amount) {
  const size_t n = mix.left.size();
  if (amount <= 0 || mix.dry || n == 0) return;
  static constexpr int kCombs[] = {1116, 1188, 1277, 1356, 1422, 1491, 1557, 1617};
  static constexpr int kPasses[] = {556, 441, 341, 225};
  constexpr int kSideApart = 23;
  constexpr double kFeedback = 0.82, kDamp = 0.25, kPassFeedback = 0.5;
  const double scale = mix.rate / 44100.0;
  const double lowCut = 1 - std::exp(-kTwoPi * 180.0 / mix.rate);
  std::vector<float> in(n);
  double low = 0;
  for (size_t i = 0; i < n; ++i) {
    const double x = 0.5 * (mix.left[i] + mix.right[i]);
    low += lowCut * (x - low);
    in[i] = static_cast<float>(x - low);
  }
  const size_t warm = std::min(n, static_cast<size_t>(3 * mix.rate));
  for (int side = 0; side < 2; ++side) {
    struct Line {
      std::vector<float> buffer;
      size_t at = 0;
      double store = 0;
    };
    std::vector<Line> combs, passes;
    for (int d : kCombs)
      combs.push_back({std::vector<float>(static_cast<size_t>((d + side * kSideApart) * scale) + 1)});
    for (int d : kPasses)
      passes.push_back({std::vector<float>(static_cast<size_t>((d + side * kSideApart) * scale) + 1)});
    std::vector<float>& out = side == 0 ? mix.left : mix.right;
    size_t i = n - warm;
    for (size_t k = 0; k < warm + n; ++k, i = i + 1 == n ? 0 : i + 1) {
      double wet = 0;
      for (Line& c : combs) {
        const double y = c.buffer[c.at];
        c.store = y * (1 - kDamp) + c.store * kDamp;
        c.buffer[c.at] = static_cast<float>(in[i] * 0.03 + c.store * kFeedback);
        if (++c.at == c.buffer.size()) c.at = 0;
        wet += y;
      }
      for (Line& a : passes) {
        const double b = a.buffer[a.at];
        a.buffer[a.at] = static_cast<float>(wet + b * kPassFeedback);
        if (++a.at == a.buffer.size()) a.at = 0;
        wet = b - wet;
      }
      if (k >= warm) out[i] += static_cast<float>(amount * wet);
    }
  }
}

// "B", "B+2" or "B-3": a section name and its transposition.
std::pair<std::string, int> FormItem(const Context& ctx, const std::string& item) {
  auto sign = item.find_first_of("+-");
  if (sign == std::string::npos) return {item, 0};
  int semitones = 0;
  const char* first = item.data() + sign + 1;
  auto [end, ec] = std::from_chars(first, item.data() + item.size(), semitones);
  if (ec != std::errc() || end != item.data() + item.size() || semitones > 24)
    ctx.Fail("form item '" + item + "' is not NAME+SEMITONES");
  return {item.substr(0, sign), item[sign] == '-' ? -semitones : semitones};
}

const SoundRecipe::Section* FindSection(const SoundRecipe& r, const std::string& name) {
  for (const auto& section : r.sections)
    if (section.name == name) return &section;
  return nullptr;
}

// The whole piece, interleaved left/right.
std::vector<float> RenderMusic(const SoundRecipe& r, bool dry) {
  StereoMix mix;
  mix.rate = r.rate;
  mix.stepSeconds = 60.0 / r.bpm / 4.0;
  mix.dry = dry;
  const size_t frames = dry ? 1 : static_cast<size_t>(std::lround(r.length * r.rate));
  mix.left.assign(frames, 0.0f);
  mix.right.assign(frames, 0.0f);
  mix.echoSend.assign(frames, 0.0f);
  Context formCtx{r.origin, r.formLine};
  int step = 0;
  for (const std::string& item : r.form) {
    auto [name, transpose] = FormItem(formCtx, item);
    const SoundRecipe::Section* section = FindSection(r, name);
    if (!section) formCtx.Fail("the form names no section '" + name + "'");
    std::vector<const SoundRecipe::Section*> parts{section};
    for (const std::string& other : section->with) {
      const SoundRecipe::Section* extra = FindSection(r, other);
      Context ctx{r.origin, section->line};
      if (!extra || extra == section) ctx.Fail("'with' names no other section '" + other + "'");
      if (extra->steps != section->steps)
        ctx.Fail("section '" + other + "' lasts " + std::to_string(extra->steps) +
                 " steps, this one " + std::to_string(section->steps));
      parts.push_back(extra);
    }
    Placement at{step, section->steps, transpose, name.empty() ? "loop" : "section"};
    for (const auto* part : parts) {
      for (const SoundLine& layer : part->layers) {
        Context ctx{r.origin, layer.line};
        if (layer.tokens[0] == "voice")
          RenderVoice(ctx, layer.tokens, at, mix);
        else
          RenderDrums(ctx, layer.tokens, at, mix);
      }
    }
    step += section->steps;
  }
  AddEcho(mix, r.echo.first, r.echo.second);
  AddRoom(mix, r.room);
  std::vector<float> out(dry ? 0 : frames * 2);
  for (size_t i = 0; i * 2 < out.size(); ++i) {
    out[2 * i] = mix.left[i];
    out[2 * i + 1] = mix.right[i];
  }
  return out;
}

std::vector<float> Render(const SoundRecipe& r, bool dry) {
  if (r.music) {
    std::vector<float> out = RenderMusic(r, dry);
    // Tracks follow one another: each is brought to the same loudness first.
    if (!dry) {
      const double gain = std::pow(10.0, (kMusicLoudness - IntegratedLoudness(out, r.rate, 2)) / 20);
      for (float& v : out) v = static_cast<float>(v * gain);
    }
    Normalize(out, kMusicHeadroom);
    return out;
  }
  std::vector<float> out(dry ? 0 : static_cast<size_t>(std::lround(r.length * r.rate)), 0.0f);
  for (const SoundLine& layer : r.layers) {
    Context ctx{r.origin, layer.line};
    Tone tone = ParseTone(ctx, layer.tokens, r.length);
    if (!dry) RenderTone(tone, r.rate, out);
  }
  Normalize(out, kHeadroom);
  return out;
}

}  // namespace

std::vector<SoundRecipe> ParseSoundRecipes(const std::string& text, const std::string& origin) {
  std::vector<SoundRecipe> recipes;
  std::istringstream in(text);
  std::string raw;
  int lineNo = 0;
  while (std::getline(in, raw)) {
    ++lineNo;
    Context ctx{origin, lineNo};
    // A word starting with '#' begins a comment ('#' inside a word is a sharp note).
    std::istringstream words(raw);
    std::vector<std::string> t;
    for (std::string w; words >> w && w[0] != '#';) t.push_back(w);
    if (t.empty()) continue;
    if (t[0] == "sound" || t[0] == "music") {
      SoundRecipe r;
      r.music = t[0] == "music";
      r.origin = origin;
      size_t firstKey = r.music ? 2 : 3;
      if (t.size() < firstKey)
        ctx.Fail("'" + t[0] + "' needs " + (r.music ? "a file" : "a name and a file"));
      if (!r.music) r.name = t[1];
      r.file = t[firstKey - 1];
      if (r.file.find("..") != std::string::npos || r.file.front() == '/')
        ctx.Fail("the file must lie inside the working folder");
      Keys k(ctx, Parse(ctx, t, firstKey),
             {"length", "rate", "bpm", "steps", "form", "echo", "room"});
      r.rate = static_cast<int>(k.Num("rate", r.music ? 44100 : 22050, 8000, 48000));
      if (r.music) {
        r.channels = 2;
        r.bpm = static_cast<int>(k.Required("bpm", 30, 300));
        r.formLine = lineNo;
        r.echo = k.Pair("echo", 0);
        r.room = k.Num("room", 0, 0, 1);
        if (r.echo.first < 0 || r.echo.first > 2 || r.echo.second < 0 || r.echo.second > 0.9)
          ctx.Fail("echo=" + k.Text("echo", "") + " is not SECONDS:FEEDBACK within 0..2:0..0.9");
        std::string form = k.Text("form", "");
        if (form.empty() == (k.Text("steps", "").empty()))
          ctx.Fail("a music loop needs either steps= or form=");
        if (form.empty()) {
          // A plain loop is one unnamed section.
          r.steps = static_cast<int>(k.Required("steps", 1, 1024));
          r.sections.push_back({"", lineNo, r.steps, {}, {}});
          r.form = {""};
        } else {
          std::istringstream items(form);
          for (std::string item; std::getline(items, item, ',');) r.form.push_back(item);
        }
      } else {
        r.length = k.Required("length", 0.01, kMaxSeconds);
      }
      recipes.push_back(std::move(r));
      continue;
    }
    if (recipes.empty()) ctx.Fail("'" + t[0] + "' before any 'sound' or 'music' line");
    SoundRecipe& r = recipes.back();
    if (t[0] == "section" && r.music) {
      if (!r.sections.empty() && r.sections.front().name.empty())
        ctx.Fail("a loop given by steps= has no sections");
      if (t.size() < 2 || t[1].find('=') != std::string::npos) ctx.Fail("a section needs a name");
      Keys k(ctx, Parse(ctx, t, 2), {"steps", "with"});
      SoundRecipe::Section section;
      section.name = t[1];
      section.line = lineNo;
      section.steps = static_cast<int>(k.Required("steps", 1, 1024));
      std::istringstream with(k.Text("with", ""));
      for (std::string other; std::getline(with, other, ',');) section.with.push_back(other);
      if (FindSection(r, section.name)) ctx.Fail("section '" + section.name + "' is given twice");
      r.sections.push_back(std::move(section));
      continue;
    }
    bool ok = r.music ? (t[0] == "voice" || t[0] == "drums") : t[0] == "tone";
    if (!ok)
      ctx.Fail("'" + t[0] + "' does not belong in a " + (r.music ? "music" : "sound") + " recipe");
    if (!r.music) {
      r.layers.push_back({lineNo, t});
    } else if (r.sections.empty()) {
      ctx.Fail("'" + t[0] + "' before any 'section' line");
    } else {
      r.sections.back().layers.push_back({lineNo, t});
    }
  }
  for (auto& r : recipes) {
    if (!r.music) continue;
    Context ctx{origin, r.formLine};
    if (!r.sections.front().name.empty()) {
      r.steps = 0;
      for (const std::string& item : r.form) {
        const SoundRecipe::Section* section = FindSection(r, FormItem(ctx, item).first);
        if (!section) ctx.Fail("the form names no section '" + FormItem(ctx, item).first + "'");
        r.steps += section->steps;
      }
    }
    r.length = r.steps * 60.0 / r.bpm / 4.0;
    if (r.length > kMaxMusicSeconds)
      ctx.Fail("longer than " + std::to_string(int(kMaxMusicSeconds)) + " s");
  }
  // Check every layer once now, so faults are reported with their line before any output.
  for (const auto& r : recipes) (void)Render(r, true);
  return recipes;
}

std::vector<SoundRecipe> LoadSoundFolder(const std::filesystem::path& folder) {
  std::vector<std::filesystem::path> files;
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(folder, ec))
    if (entry.path().extension() == ".snd") files.push_back(entry.path());
  if (ec) throw SourceError(folder.string() + ": cannot list the folder: " + ec.message());
  std::sort(files.begin(), files.end());
  std::vector<SoundRecipe> all;
  for (const auto& file : files) {
    std::ifstream in(file, std::ios::binary);
    if (!in) throw SourceError(file.string() + ": cannot open");
    std::stringstream text;
    text << in.rdbuf();
    auto parsed = ParseSoundRecipes(text.str(), file.filename().string());
    all.insert(all.end(), parsed.begin(), parsed.end());
  }
  return all;
}

std::string RecipeText(const SoundRecipe& r) {
  std::ostringstream text;
  text.precision(17);
  auto lines = [&text](const std::vector<SoundLine>& layers) {
    for (const auto& layer : layers) {
      for (const auto& token : layer.tokens) text << token << ' ';
      text << '\n';
    }
  };
  text << (r.music ? "music " : "sound ") << r.name << ' ' << r.file << " rate=" << r.rate
       << " length=" << r.length << " bpm=" << r.bpm << " steps=" << r.steps
       << " echo=" << r.echo.first << ':' << r.echo.second << " room=" << r.room << " form=";
  for (const auto& item : r.form) text << item << ',';
  text << '\n';
  lines(r.layers);
  for (const auto& section : r.sections) {
    text << "section " << section.name << " steps=" << section.steps << " with=";
    for (const auto& other : section.with) text << other << ',';
    text << '\n';
    lines(section.layers);
  }
  return text.str();
}

std::vector<float> Synthesize(const SoundRecipe& r) {
  return Render(r, false);
}

std::string EncodeWav(const std::vector<float>& samples, int rate, int channels) {
  std::string out;
  auto u32 = [&](std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
  };
  auto u16 = [&](std::uint16_t v) {
    out.push_back(static_cast<char>(v & 0xFF));
    out.push_back(static_cast<char>(v >> 8));
  };
  std::uint32_t dataBytes = static_cast<std::uint32_t>(samples.size() * 2);
  out += "RIFF";
  u32(36 + dataBytes);
  out += "WAVEfmt ";
  u32(16);
  u16(1);  // PCM
  u16(static_cast<std::uint16_t>(channels));
  u32(static_cast<std::uint32_t>(rate));
  u32(static_cast<std::uint32_t>(rate * 2 * channels));
  u16(static_cast<std::uint16_t>(2 * channels));
  u16(16);
  out += "data";
  u32(dataBytes);
  for (float s : samples) {
    long v = std::lround(std::clamp(s, -1.0f, 1.0f) * 32767.0f);
    u16(static_cast<std::uint16_t>(static_cast<std::int16_t>(v)));
  }
  return out;
}

std::string EncodeOgg(const std::vector<float>& samples, int rate, int channels, float quality) {
  vorbis_info info;
  vorbis_info_init(&info);
  if (vorbis_encode_init_vbr(&info, channels, rate, quality) != 0) {
    vorbis_info_clear(&info);
    throw SourceError("the Vorbis encoder refuses " + std::to_string(channels) + " channels at " +
                      std::to_string(rate) + " Hz");
  }
  vorbis_comment comment;
  vorbis_comment_init(&comment);
  vorbis_comment_add_tag(&comment, "ENCODER", "vantrel assetgen");
  vorbis_dsp_state dsp;
  vorbis_block block;
  vorbis_analysis_init(&dsp, &info);
  vorbis_block_init(&dsp, &block);
  ogg_stream_state stream;
  ogg_stream_init(&stream, 0x56544c31);  // a fixed serial keeps rebuilds byte-identical
  std::string out;
  ogg_page page;
  auto append = [&out](const ogg_page& p) {
    out.append(reinterpret_cast<const char*>(p.header), static_cast<size_t>(p.header_len));
    out.append(reinterpret_cast<const char*>(p.body), static_cast<size_t>(p.body_len));
  };
  ogg_packet header, commentPacket, codebooks;
  vorbis_analysis_headerout(&dsp, &comment, &header, &commentPacket, &codebooks);
  ogg_stream_packetin(&stream, &header);
  ogg_stream_packetin(&stream, &commentPacket);
  ogg_stream_packetin(&stream, &codebooks);
  // The audio starts on a fresh page, as players expect.
  while (ogg_stream_flush(&stream, &page) != 0) append(page);

  const size_t frames = samples.size() / static_cast<size_t>(channels);
  constexpr size_t kChunk = 4096;
  for (size_t first = 0;; first += kChunk) {
    const size_t count = first < frames ? std::min(kChunk, frames - first) : 0;
    if (count == 0) {
      vorbis_analysis_wrote(&dsp, 0);  // the end of the stream
    } else {
      float** buffer = vorbis_analysis_buffer(&dsp, static_cast<int>(count));
      for (size_t i = 0; i < count; ++i)
        for (int c = 0; c < channels; ++c)
          buffer[c][i] = samples[(first + i) * static_cast<size_t>(channels) + c];
      vorbis_analysis_wrote(&dsp, static_cast<int>(count));
    }
    while (vorbis_analysis_blockout(&dsp, &block) == 1) {
      vorbis_analysis(&block, nullptr);
      vorbis_bitrate_addblock(&block);
      ogg_packet packet;
      while (vorbis_bitrate_flushpacket(&dsp, &packet) != 0) {
        ogg_stream_packetin(&stream, &packet);
        while (ogg_stream_pageout(&stream, &page) != 0) append(page);
      }
    }
    if (count == 0) break;
  }
  while (ogg_stream_flush(&stream, &page) != 0) append(page);
  ogg_stream_clear(&stream);
  vorbis_block_clear(&block);
  vorbis_dsp_clear(&dsp);
  vorbis_comment_clear(&comment);
  vorbis_info_clear(&info);
  return out;
}

std::string EncodeFor(const SoundRecipe& recipe, const std::vector<float>& samples) {
  const std::string& f = recipe.file;
  if (f.size() > 4 && f.compare(f.size() - 4, 4, ".ogg") == 0)
    return EncodeOgg(samples, recipe.rate, recipe.channels);
  return EncodeWav(samples, recipe.rate, recipe.channels);
}

}  // namespace assetgen
