// Prints "code name" for every entry of HTMLLat1Entities, for the cross-check against an
// independent list of the HTML 4 Latin-1 entities (html_entities_check.py).
#include <cstdio>

#include "qorkit/core/lookup_tables.h"

int main() {
    for (int code = 150; code <= 260; ++code) {
        const auto name = qorkit::HTMLLat1Entities[code];
        if (name.empty()) continue;
        std::printf("%d %s\n", code, qorkit::ToUtf8(name).c_str());
    }
    return 0;
}
