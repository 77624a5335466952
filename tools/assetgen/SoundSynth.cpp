// Recipe reader, synthesiser and WAV encoder; format in SoundSynth.h.
#include "SoundSynth.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <fstream>
#include <map>
#include <sstream>

#include "PaintKit.h"

namespace assetgen {
namespace {

constexpr double kTwoPi = 2 * kPi;
constexpr double kMaxSeconds = 120;
constexpr double kHeadroom = 0.9;  // peak level after mixing

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

// Adds a short sound into a loop, wrapping its tail around to the start.
void MixWrapped(std::vector<float>& loop, size_t at, const std::vector<float>& sound) {
  for (size_t s = 0; s < sound.size(); ++s) loop[(at + s) % loop.size()] += sound[s];
}

void RenderVoice(const Context& ctx, const SoundRecipe& r, const std::vector<std::string>& t,
                 std::vector<float>& out) {
  Keys k(ctx, Parse(ctx, t, 1), {"wave", "notes", "gain", "attack", "decay", "release"});
  Wave wave = ParseWave(ctx, k.Text("wave", "square"));
  double gain = k.Num("gain", 0.3, 0, 4);
  Envelope env = ParseEnvelope(k);
  std::string notes = k.Text("notes", "");
  if (notes.empty()) ctx.Fail("a voice needs notes=");
  double stepSeconds = 60.0 / r.bpm / 4.0;
  int step = 0;
  std::istringstream list(notes);
  std::string item;
  while (std::getline(list, item, ',')) {
    auto colon = item.find(':');
    if (colon == std::string::npos) ctx.Fail("note '" + item + "' is not NOTE:STEPS");
    int steps = 0;
    std::string count = item.substr(colon + 1);
    auto [end, ec] = std::from_chars(count.data(), count.data() + count.size(), steps);
    if (ec != std::errc() || end != count.data() + count.size() || steps < 1)
      ctx.Fail("note '" + item + "' has a bad length");
    std::string name = item.substr(0, colon);
    if (name != "-") {
      double freq = NoteFrequency(ctx, name);
      double length = steps * stepSeconds;
      std::vector<float> note(static_cast<size_t>(std::lround(length * r.rate)), 0.0f);
      Oscillator osc(wave, 7u + step);
      for (size_t s = 0; s < note.size(); ++s) {
        double x = osc.Step(freq, r.rate);
        note[s] = static_cast<float>(gain * env.At(double(s) / r.rate, length) * x);
      }
      MixWrapped(out, static_cast<size_t>(std::lround(step * stepSeconds * r.rate)), note);
    }
    step += steps;
  }
  if (step != r.steps)
    ctx.Fail("the notes last " + std::to_string(step) + " steps, the loop " +
             std::to_string(r.steps));
}

void RenderDrums(const Context& ctx, const SoundRecipe& r, const std::vector<std::string>& t,
                 std::vector<float>& out) {
  Keys k(ctx, Parse(ctx, t, 1), {"pattern", "gain"});
  std::string pattern = k.Text("pattern", "");
  double gain = k.Num("gain", 0.5, 0, 4);
  if (pattern.empty() || r.steps % pattern.size() != 0)
    ctx.Fail("the drum pattern's length must divide the loop's steps");
  double stepSeconds = 60.0 / r.bpm / 4.0;
  for (int step = 0; step < r.steps; ++step) {
    char c = pattern[step % pattern.size()];
    if (c == '.') continue;
    std::vector<Tone> layers;
    if (c == 'k') {
      layers.push_back(
          {Wave::kSine, 150, 45, 0, 0.18, gain, {0.002, 0.07, 0.02}, {0, 0}, {0, 0}, 1});
    } else if (c == 's') {
      layers.push_back({Wave::kNoise,
                        9000,
                        7000,
                        0,
                        0.16,
                        gain * 0.6,
                        {0.001, 0.05, 0.03},
                        {0, 0},
                        {5000, 2500},
                        5u + step});
      layers.push_back(
          {Wave::kTriangle, 200, 160, 0, 0.1, gain * 0.4, {0.001, 0.04, 0.02}, {0, 0}, {0, 0}, 1});
    } else if (c == 'h') {
      layers.push_back({Wave::kNoise,
                        16000,
                        16000,
                        0,
                        0.05,
                        gain * 0.25,
                        {0.001, 0.012, 0.01},
                        {0, 0},
                        {0, 0},
                        9u + step});
    } else {
      ctx.Fail(std::string("unknown drum '") + c + "'");
    }
    for (const Tone& tone : layers) {
      std::vector<float> sound(static_cast<size_t>(std::lround(tone.dur * r.rate)), 0.0f);
      RenderTone(tone, r.rate, sound);
      MixWrapped(out, static_cast<size_t>(std::lround(step * stepSeconds * r.rate)), sound);
    }
  }
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
      Keys k(ctx, Parse(ctx, t, firstKey), {"length", "rate", "bpm", "steps"});
      r.rate = static_cast<int>(k.Num("rate", 22050, 8000, 48000));
      if (r.music) {
        r.bpm = static_cast<int>(k.Required("bpm", 30, 300));
        r.steps = static_cast<int>(k.Required("steps", 1, 1024));
        r.length = r.steps * 60.0 / r.bpm / 4.0;
      } else {
        r.length = k.Required("length", 0.01, kMaxSeconds);
      }
      if (r.length > kMaxSeconds)
        ctx.Fail("longer than " + std::to_string(int(kMaxSeconds)) + " s");
      recipes.push_back(std::move(r));
      continue;
    }
    if (recipes.empty()) ctx.Fail("'" + t[0] + "' before any 'sound' or 'music' line");
    SoundRecipe& r = recipes.back();
    bool ok = r.music ? (t[0] == "voice" || t[0] == "drums") : t[0] == "tone";
    if (!ok)
      ctx.Fail("'" + t[0] + "' does not belong in a " + (r.music ? "music" : "sound") + " recipe");
    r.layers.push_back({lineNo, t});
  }
  // Parse every layer once now, so faults are reported with their line before any output.
  for (const auto& r : recipes) (void)Synthesize(r);
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

std::vector<float> Synthesize(const SoundRecipe& r) {
  std::vector<float> out(static_cast<size_t>(std::lround(r.length * r.rate)), 0.0f);
  if (out.empty()) return out;
  for (const SoundLine& layer : r.layers) {
    Context ctx{r.origin, layer.line};
    if (layer.tokens[0] == "tone")
      RenderTone(ParseTone(ctx, layer.tokens, r.length), r.rate, out);
    else if (layer.tokens[0] == "voice")
      RenderVoice(ctx, r, layer.tokens, out);
    else
      RenderDrums(ctx, r, layer.tokens, out);
  }
  float peak = 0;
  for (float s : out) peak = std::max(peak, std::fabs(s));
  if (peak > kHeadroom)
    for (float& s : out) s = static_cast<float>(s * (kHeadroom / peak));
  return out;
}

std::string EncodeWav(const std::vector<float>& samples, int rate) {
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
  u16(1);  // mono
  u32(static_cast<std::uint32_t>(rate));
  u32(static_cast<std::uint32_t>(rate * 2));
  u16(2);
  u16(16);
  out += "data";
  u32(dataBytes);
  for (float s : samples) {
    long v = std::lround(std::clamp(s, -1.0f, 1.0f) * 32767.0f);
    u16(static_cast<std::uint16_t>(static_cast<std::int16_t>(v)));
  }
  return out;
}

}  // namespace assetgen
