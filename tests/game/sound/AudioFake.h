// A sound device that plays nothing and remembers everything: loaded files,
// which stream plays on which channel, every stream's volume. Tests end
// streams by hand with EndStream; a call naming a freed handle, or playing a
// stream that has not opened yet, counts as a misuse.
#pragma once

#include <algorithm>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/Audio.h"

namespace platform {
class Window;
}

class AudioFake final : public platform::AudioDevice {
  using Sample = platform::AudioSample;
  using Song = platform::AudioSong;
  using Stream = platform::AudioStream;

 public:
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
    m_ended.push_back(stream);
  }
  std::vector<std::string> PlayingStreams() const {
    std::vector<std::string> files;
    for (const auto& item : m_items)
      if (!item->gone && item->channel != kNoChannel) files.push_back(item->file);
    return files;
  }
  int StreamVolume(const std::string& file) { return Find(file) ? Find(file)->volume : 0; }
  int StreamPlays(const std::string& file) { return Find(file) ? Find(file)->plays : 0; }
  // The volume the stream's latest play started at.
  int StreamStartVolume(const std::string& file) { return Find(file) ? Find(file)->start : -1; }
  Stream* StreamHandle(const std::string& file) { return As<Stream>(Find(file)); }
  int OpenItems() const { return m_openItems; }

  int initCalls = 0;
  int closeCalls = 0;
  int misuses = 0;
  int sfxMaster = kMaxVolume;
  std::vector<std::string> soundsPlayed;  // samples and modules, by file
  std::function<void()> onDispatch;       // runs at every DispatchStreamEnds

  bool Init(int, int) override { return ++initCalls > 0; }
  void Close() override { ++closeCalls; }
  Sample* LoadSample(const std::string& file) override { return As<Sample>(Open(file)); }
  int PlaySample(Sample* sample) override { return Sound(sample) ? ++m_lastChannel : kNoChannel; }
  void FreeSample(Sample* sample) override { Free(sample); }
  Song* LoadSong(const std::string& file) override { return As<Song>(Open(file)); }
  bool PlaySong(Song* song) override { return Sound(song); }
  void FreeSong(Song* song) override { Free(song); }
  Stream* OpenStream(const std::string& file, bool) override { return As<Stream>(Open(file)); }
  int GetStreamOpenState(Stream* handle) override {
    Item* stream = Check(handle);
    if (!stream) return kStreamFailed;
    return stream->openingPolls-- > 0 ? kStreamOpening : kStreamReady;
  }
  void RewindStream(Stream* handle) override { Check(handle); }
  void SetStreamEndCallback(Stream* handle, platform::StreamEndCallback callback, void*) override {
    if (Item* stream = Check(handle)) stream->callback = callback;
  }
  int PlayStream(Stream* handle, int volume) override {
    Item* stream = Check(handle);
    if (!stream) return kNoChannel;
    misuses += stream->openingPolls > 0;
    Silence(*stream);
    ++stream->plays;
    stream->volume = stream->start = std::clamp(volume, 0, kMaxVolume);
    return stream->channel = ++m_lastChannel;
  }
  void StopStream(Stream* handle) override {
    if (Item* stream = Check(handle)) Silence(*stream);
  }
  void CloseStream(Stream* handle) override { Free(handle); }
  void SetVolume(int channel, int volume) override {
    if (Item* stream = OnChannel(channel)) stream->volume = std::clamp(volume, 0, kMaxVolume);
  }
  void SetAllVolumes(int volume) override {
    for (const auto& item : m_items)
      if (item->channel != kNoChannel) item->volume = std::clamp(volume, 0, kMaxVolume);
  }
  int GetVolume(int channel) override {
    return OnChannel(channel) ? OnChannel(channel)->volume : 0;
  }
  void SetSfxMasterVolume(int volume) override { sfxMaster = volume; }
  void DispatchStreamEnds() override {
    if (onDispatch) onDispatch();
    while (!m_ended.empty()) {  // a callback may close streams whose ends are queued
      Item* stream = m_ended.front();
      m_ended.erase(m_ended.begin());
      if (stream->callback) stream->callback(As<Stream>(stream), nullptr);
    }
  }

 private:
  struct Item {  // a sample, a module or a stream
    std::string file;
    int openingPolls = 0;
    bool gone = false;
    int channel = kNoChannel;  // while a stream plays
    int volume = 0;
    int start = 0;
    int plays = 0;
    platform::StreamEndCallback callback = nullptr;
  };

  template <typename Handle>
  static Handle* As(Item* item) {
    return reinterpret_cast<Handle*>(item);
  }
  Item* Open(const std::string& file) {
    if (!m_files.count(file)) return nullptr;
    ++m_openItems;
    return m_items.emplace_back(new Item{file, m_openingPolls}).get();
  }
  Item* Check(void* handle) {  // the handle's item while it is open
    Item* item = static_cast<Item*>(handle);
    misuses += item && item->gone;
    return item && !item->gone ? item : nullptr;
  }
  bool Sound(void* handle) {  // a sample or module starts
    Item* item = Check(handle);
    if (item) soundsPlayed.push_back(item->file);
    return item != nullptr;
  }
  void Free(void* handle) {
    if (Item* item = Check(handle)) {
      Silence(*item);
      item->gone = true;
      --m_openItems;
    }
  }
  void Silence(Item& item) {  // stopped, so no end is reported
    std::erase(m_ended, &item);
    item.channel = kNoChannel;
    item.volume = 0;
  }
  Item* Find(const std::string& file) {
    for (const auto& item : m_items)
      if (!item->gone && item->file == file) return item.get();
    return nullptr;
  }
  Item* OnChannel(int channel) {  // a stale channel reaches nothing
    for (const auto& item : m_items)
      if (channel != kNoChannel && item->channel == channel) return item.get();
    return nullptr;
  }

  std::set<std::string> m_files;
  int m_openingPolls = 0;
  int m_openItems = 0;
  int m_lastChannel = 0;
  std::vector<std::unique_ptr<Item>> m_items;
  std::vector<Item*> m_ended;
};
