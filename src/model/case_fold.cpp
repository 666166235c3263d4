#include "model/case_fold.h"

#include "support/platform.h"

const std::array<unsigned char, 256>& lower_table() {
    static const std::array<unsigned char, 256> table = [] {
        std::array<unsigned char, 256> t{};
        for (int i = 0; i < 256; ++i) t[i] = static_cast<unsigned char>(platform::to_lower(static_cast<char>(i)));
        return t;
    }();
    return table;
}

std::string lower_case(std::string_view text) {
    const auto& table = lower_table();
    std::string lower(text);
    for (char& c : lower) c = static_cast<char>(table[static_cast<unsigned char>(c)]);
    return lower;
}
