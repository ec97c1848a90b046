// A locale with a decimal comma, for the tests that prove number texts ignore the process
// locale. Without one such a test cannot show anything: it is skipped on a developer's machine
// and fails where QORKIT_REQUIRE_COMMA_LOCALE is set (the CI sets it, after installing one).
#pragma once

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <string>

namespace qorkit::testing {

/// The name of an installed locale whose decimal separator is a comma, or nullptr. Leaves the
/// process locale as it was.
inline const char* CommaLocale() {
    const std::string saved = std::setlocale(LC_ALL, nullptr);
    const char* found = nullptr;
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "fr_FR.utf8", "de_DE",
                             "nl_NL.UTF-8", "ru_RU.UTF-8", "es_ES.UTF-8"})
        if (std::setlocale(LC_ALL, name) != nullptr) {
            found = name;
            break;
        }
    std::setlocale(LC_ALL, saved.c_str());
    return found;
}

}  // namespace qorkit::testing

/// Declares `var` as the comma locale's name; skips the test without one, or fails it when
/// the environment variable QORKIT_REQUIRE_COMMA_LOCALE is set.
#define QORKIT_NEED_COMMA_LOCALE(var)                                                       \
    const char* const var = ::qorkit::testing::CommaLocale();                               \
    if (var == nullptr) {                                                                   \
        if (std::getenv("QORKIT_REQUIRE_COMMA_LOCALE") != nullptr)                          \
            FAIL() << "no locale with a decimal comma is installed (tools/install-deps.sh " \
                      "generates de_DE.UTF-8 when run as root)";                            \
        GTEST_SKIP() << "no locale with a decimal comma is installed";                      \
    }
