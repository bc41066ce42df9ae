#include "platform/wildcard.hpp"

#include <vector>

namespace {

// The pattern is first rewritten into the DOS wildcards that Windows itself
// matches with; as tokens above the byte values, literal characters stay
// themselves.
constexpr int any_run = 0x100;   // *
constexpr int dos_star = 0x101;  // * before a dot: never takes the last dot
constexpr int dos_qm = 0x102;    // ?: one character, or none before a dot or the end
constexpr int dos_dot = 0x103;   // a dot, or the end of the name

std::vector<int> dos_form(std::string_view pattern)
{
    std::vector<int> form;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const char next = i + 1 < pattern.size() ? pattern[i + 1] : '\0';
        if (pattern[i] == '?')
            form.push_back(dos_qm);
        else if (pattern[i] == '*')
            form.push_back(next == '.' ? dos_star : any_run);
        else if (pattern[i] == '.' && (next == '?' || next == '*' || next == '\0'))
            form.push_back(dos_dot);
        else
            form.push_back(static_cast<unsigned char>(pattern[i]));
    }
    return form;
}

unsigned char upper(char c)
{
    const auto u = static_cast<unsigned char>(c);
    return u >= 'a' && u <= 'z' ? static_cast<unsigned char>(u - 'a' + 'A') : u;
}

}  // namespace

int wildcard_match(std::string_view pattern, std::string_view name)
{
    const std::vector<int> form = dos_form(pattern);
    const std::size_t last_dot = name.rfind('.');
    const std::size_t columns = name.size() + 1;
    // reachable[i * columns + j]: form[0, i) can match name[0, j).
    std::vector<char> reachable((form.size() + 1) * columns, 0);
    reachable[0] = 1;
    for (std::size_t i = 0; i <= form.size(); ++i) {
        for (std::size_t j = 0; j <= name.size(); ++j) {
            if (!reachable[i * columns + j] || i == form.size())
                continue;
            const int p = form[i];
            const bool more = j < name.size();
            auto reach = [&](std::size_t pi, std::size_t nj) { reachable[pi * columns + nj] = 1; };
            switch (p) {
            case any_run:
                reach(i + 1, j);
                if (more)
                    reach(i, j + 1);
                break;
            case dos_star:
                reach(i + 1, j);
                if (more && j != last_dot)
                    reach(i, j + 1);
                break;
            case dos_qm:
                if (more && name[j] != '.')
                    reach(i + 1, j + 1);
                else
                    reach(i + 1, j);
                break;
            case dos_dot:
                if (more && name[j] == '.')
                    reach(i + 1, j + 1);
                else if (!more)
                    reach(i + 1, j);
                break;
            default:
                if (more && upper(name[j]) == upper(static_cast<char>(p)))
                    reach(i + 1, j + 1);
            }
        }
    }
    return reachable[form.size() * columns + name.size()];
}

int directory_order(std::string_view a, std::string_view b)
{
    const std::size_t common = a.size() < b.size() ? a.size() : b.size();
    for (std::size_t i = 0; i < common; ++i)
        if (upper(a[i]) != upper(b[i]))
            return upper(a[i]) < upper(b[i]) ? -1 : 1;
    if (a.size() != b.size())
        return a.size() < b.size() ? -1 : 1;
    return a.compare(b);
}
