// A sound device that plays nothing and remembers everything: loaded files,
// which stream plays on which channel, every channel volume. Tests end
// streams by hand with EndStream; any call naming a freed or closed handle
// counts as a misuse.
#pragma once

#include <algorithm>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/Audio.h"

namespace platform {
class Window;
}

class AudioFake final : public platform::AudioDevice {
 public:
  struct Item {  // a sample, a module or a stream
    std::string file;
    bool loop = false;
    bool gone = false;
    int openingPolls = 0;
    int channel = kNoChannel;
    int plays = 0;
    platform::StreamEndCallback callback = nullptr;
  };

  // The engine only checks that a window exists; it never looks inside.
  static platform::Window* AnyWindow() {
    static int storage = 0;
    return reinterpret_cast<platform::Window*>(&storage);
  }

  void AddFile(const std::string& file) { m_files.insert(file); }
  void SetOpeningPolls(int polls) { m_openingPolls = polls; }  // for streams opened later

  void EndStream(const std::string& file) {
    Item* stream = Find(file);
    if (!stream || stream->channel == kNoChannel) return;
    Silence(*stream);
    if (!stream->loop) m_ended.push_back(stream);
  }
  std::vector<std::string> PlayingStreams() const {
    std::vector<std::string> files;
    for (const auto& item : m_items) {
      if (!item->gone && item->channel != kNoChannel) files.push_back(item->file);
    }
    return files;
  }
  int StreamVolume(const std::string& file) {
    return Find(file) ? GetVolume(Find(file)->channel) : 0;
  }
  int StreamPlays(const std::string& file) { return Find(file) ? Find(file)->plays : 0; }
  platform::AudioStream* StreamHandle(const std::string& file) {
    return As<platform::AudioStream>(Find(file));
  }
  int OpenItems() const {
    return static_cast<int>(std::count_if(m_items.begin(), m_items.end(),
                                          [](const auto& item) { return !item->gone; }));
  }

  int initCalls = 0;
  int closeCalls = 0;
  int misuses = 0;
  int sfxMaster = kMaxVolume;
  std::vector<std::string> soundsPlayed;  // samples and modules, by file

  bool Init(int, int) override { return ++initCalls > 0; }
  void Close() override { ++closeCalls; }

  platform::AudioSample* LoadSample(const std::string& file) override {
    return As<platform::AudioSample>(Open(file, false));
  }
  int PlaySample(platform::AudioSample* sample) override {
    Item* item = Check(sample);
    if (!item) return kNoChannel;
    soundsPlayed.push_back(item->file);
    return NewChannel();
  }
  void FreeSample(platform::AudioSample* sample) override { Free(sample); }
  platform::AudioSong* LoadSong(const std::string& file) override {
    return As<platform::AudioSong>(Open(file, false));
  }
  bool PlaySong(platform::AudioSong* song) override {
    Item* item = Check(song);
    if (item) soundsPlayed.push_back(item->file);
    return item != nullptr;
  }
  void FreeSong(platform::AudioSong* song) override { Free(song); }

  platform::AudioStream* OpenStream(const std::string& file, bool loop) override {
    return As<platform::AudioStream>(Open(file, loop));
  }
  int GetStreamOpenState(platform::AudioStream* handle) override {
    Item* stream = Check(handle);
    if (!stream) return kStreamFailed;
    return stream->openingPolls-- > 0 ? kStreamOpening : kStreamReady;
  }
  void RewindStream(platform::AudioStream* handle) override { Check(handle); }
  void SetStreamEndCallback(platform::AudioStream* handle, platform::StreamEndCallback callback,
                            void*) override {
    if (Item* stream = Check(handle)) stream->callback = callback;
  }
  int PlayStream(platform::AudioStream* handle) override {
    Item* stream = Check(handle);
    if (!stream) return kNoChannel;
    if (stream->openingPolls > 0) ++misuses;  // played before it had opened
    Silence(*stream);
    ++stream->plays;
    return stream->channel = NewChannel();
  }
  void StopStream(platform::AudioStream* handle) override {
    if (Item* stream = Check(handle)) Silence(*stream);
  }
  void CloseStream(platform::AudioStream* handle) override { Free(handle); }

  void SetVolume(int channel, int volume) override {
    if (m_volumes.count(channel)) m_volumes[channel] = std::clamp(volume, 0, kMaxVolume);
  }
  void SetAllVolumes(int volume) override {
    for (auto& entry : m_volumes) entry.second = std::clamp(volume, 0, kMaxVolume);
  }
  int GetVolume(int channel) override { return m_volumes.count(channel) ? m_volumes[channel] : 0; }
  void SetSfxMasterVolume(int volume) override { sfxMaster = volume; }

  void DispatchStreamEnds() override {
    while (!m_ended.empty()) {
      Item* stream = m_ended.front();
      m_ended.erase(m_ended.begin());
      if (stream->callback) stream->callback(As<platform::AudioStream>(stream), nullptr);
    }
  }

 private:
  template <typename Handle>
  static Handle* As(Item* item) {
    return reinterpret_cast<Handle*>(item);
  }
  Item* Open(const std::string& file, bool loop) {
    if (!m_files.count(file)) return nullptr;
    m_items.push_back(std::make_unique<Item>(Item{file, loop, false, m_openingPolls}));
    return m_items.back().get();
  }
  template <typename Handle>
  Item* Check(Handle* handle) {
    Item* item = reinterpret_cast<Item*>(handle);
    if (item && item->gone) ++misuses;
    return item && !item->gone ? item : nullptr;
  }
  template <typename Handle>
  void Free(Handle* handle) {
    if (Item* item = Check(handle)) {
      Silence(*item);
      item->gone = true;
    }
  }
  void Silence(Item& item) {  // stopped, so no end is reported
    std::erase(m_ended, &item);
    m_volumes.erase(item.channel);
    item.channel = kNoChannel;
  }
  Item* Find(const std::string& file) {
    for (const auto& item : m_items) {
      if (!item->gone && item->file == file) return item.get();
    }
    return nullptr;
  }
  int NewChannel() {
    m_volumes[++m_lastChannel] = kMaxVolume;
    return m_lastChannel;
  }

  std::set<std::string> m_files;
  int m_openingPolls = 0;
  int m_lastChannel = 0;
  std::map<int, int> m_volumes;  // live channels only
  std::vector<std::unique_ptr<Item>> m_items;
  std::vector<Item*> m_ended;
};
