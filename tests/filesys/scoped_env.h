// Environment variables set for one test and restored afterwards.
#pragma once

#include <stdlib.h>

#include <initializer_list>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace qorkit::test {

class ScopedEnv {
  public:
    ScopedEnv(std::initializer_list<std::pair<std::string, std::string>> vars) {
        for (const auto& [name, value] : vars) {
            const char* old = ::getenv(name.c_str());
            FSaved.emplace_back(name,
                                old != nullptr ? std::optional<std::string>(old) : std::nullopt);
            ::setenv(name.c_str(), value.c_str(), 1);
        }
    }
    ~ScopedEnv() {
        for (const auto& [name, value] : FSaved) {
            if (value)
                ::setenv(name.c_str(), value->c_str(), 1);
            else
                ::unsetenv(name.c_str());
        }
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

  private:
    std::vector<std::pair<std::string, std::optional<std::string>>> FSaved;
};

}  // namespace qorkit::test
