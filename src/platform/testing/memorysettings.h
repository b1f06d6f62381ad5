// An in-memory settings store for tests and for running without a
// configuration folder.
#pragma once

#include <map>
#include <string>

#include "platform/settings.h"

namespace tarn::platform::testing {

class MemorySettings : public Settings {
 public:
  std::optional<std::string> Read(std::string_view key, std::string_view name) override;
  void Write(std::string_view key, std::string_view name, std::string_view value) override;
  std::vector<std::string> Subkeys(std::string_view key) override;
  void DeleteKey(std::string_view key) override;
  bool KeyExists(std::string_view key) override;

 private:
  struct Key {
    std::string name;  // as first written
    std::map<std::string, std::pair<std::string, std::string>> values;  // upper name -> (name, value)
  };
  Key& Open(std::string_view key);
  std::map<std::string, Key> m_keys;  // normalized path -> key
};

}  // namespace tarn::platform::testing
