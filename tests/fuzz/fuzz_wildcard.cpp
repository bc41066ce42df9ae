// The wildcard matcher and the name order against plain references written
// from the rules: a pattern and a name, split at the first zero byte.
#include "platform/posix/wildcard.hpp"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

char upper(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// Windows' rules, one character at a time, remembering what is known.
struct reference_match {
    std::string pattern;
    std::string name;
    std::size_t last_dot;
    std::vector<signed char> known;

    reference_match(std::string p, std::string n)
        : pattern(std::move(p)), name(std::move(n)), last_dot(name.rfind('.')),
          known((pattern.size() + 1) * (name.size() + 1), -1)
    {}

    bool at(std::size_t i, std::size_t j)
    {
        signed char& memo = known[i * (name.size() + 1) + j];
        if (memo < 0)
            memo = matches(i, j) ? 1 : 0;
        return memo == 1;
    }

    bool matches(std::size_t i, std::size_t j)
    {
        if (i == pattern.size())
            return j == name.size();
        const char c = pattern[i];
        const char next = i + 1 < pattern.size() ? pattern[i + 1] : '\0';
        const bool more = j < name.size();
        if (c == '*') {
            // Before a dot a star never takes the name's last dot.
            if (at(i + 1, j))
                return true;
            if (!more || (next == '.' && j == last_dot))
                return false;
            return at(i, j + 1);
        }
        if (c == '?')
            return more && name[j] != '.' ? at(i + 1, j + 1) : at(i + 1, j);
        if (c == '.' && (next == '?' || next == '*' || next == '\0'))
            return more ? name[j] == '.' && at(i + 1, j + 1) : at(i + 1, j);
        return more && upper(name[j]) == upper(c) && at(i + 1, j + 1);
    }
};

int reference_order(const std::string& a, const std::string& b)
{
    std::string upper_a = a;
    std::string upper_b = b;
    for (char& c : upper_a)
        c = upper(c);
    for (char& c : upper_b)
        c = upper(c);
    // The upper-case forms compared as unsigned bytes, then the bytes.
    const int folded = upper_a.compare(upper_b);
    const int raw = a.compare(b);
    return folded != 0 ? folded : raw;
}

int sign(int value)
{
    return (value > 0) - (value < 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string input(reinterpret_cast<const char*>(data), size);
    const std::size_t cut = input.find('\0');
    const std::string pattern = input.substr(0, cut);
    const std::string name = cut == std::string::npos ? "" : input.substr(cut + 1);
    if (pattern.size() > 200 || name.size() > 300)
        return 0;

    reference_match reference(pattern, name);
    if (wildcard_match(pattern, name) != (reference.at(0, 0) ? 1 : 0))
        std::abort();
    // Prepared once and used for several names, as the search does.
    wildcard prepared;
    wildcard_prepare(prepared, pattern);
    for (const std::string& other : {name, pattern, std::string("."), name + name})
        if (wildcard_matches(prepared, other) != (reference_match(pattern, other).at(0, 0) ? 1 : 0))
            std::abort();

    if (sign(directory_order(pattern, name)) != sign(reference_order(pattern, name))
        || sign(directory_order(pattern, name)) != -sign(directory_order(name, pattern)))
        std::abort();
    return 0;
}
