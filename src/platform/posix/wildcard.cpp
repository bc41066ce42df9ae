#include "platform/posix/wildcard.hpp"

namespace {

// The pattern is rewritten into the DOS wildcards that Windows itself
// matches with; as tokens above the byte values, literal characters stay
// themselves (letters in upper case).
constexpr int any_run = 0x100;   // *
constexpr int dos_star = 0x101;  // * before a dot: never takes the name's last dot
constexpr int dos_qm = 0x102;    // ?: one character, or none before a dot or the end
constexpr int dos_dot = 0x103;   // a dot, or the end of the name

unsigned char upper(char c)
{
    const auto u = static_cast<unsigned char>(c);
    return u >= 'a' && u <= 'z' ? static_cast<unsigned char>(u - 'a' + 'A') : u;
}

bool is_star(int token)
{
    return token == any_run || token == dos_star;
}

// The sets of name positions 0 to n (n + 1 bits) that a match moves
// through, `words` words each.
struct position_sets {
    std::uint64_t* reached;
    std::uint64_t* next;
    std::uint64_t* dots;            // positions of a dot
    std::uint64_t* up_to_last_dot;  // positions 0 to the last dot, if any
    std::size_t words;
    std::size_t end;  // n: the position after the last character
};

bool has(const std::uint64_t* set, std::size_t position)
{
    return (set[position / 64] >> (position % 64)) & 1U;
}

void put(std::uint64_t* set, std::size_t position)
{
    set[position / 64] |= std::uint64_t{1} << (position % 64);
}

void take(std::uint64_t* set, std::size_t position)
{
    set[position / 64] &= ~(std::uint64_t{1} << (position % 64));
}

// `to` = `from` moved one position on (each bit from j to j + 1).
void step(const std::uint64_t* from, std::uint64_t* to, std::size_t words)
{
    std::uint64_t carry = 0;
    for (std::size_t w = 0; w < words; ++w) {
        const std::uint64_t word = from[w];
        to[w] = (word << 1) | carry;
        carry = word >> 63;
    }
}

// Every position from the first one in `set` on, up to `end`.
void from_first_on(std::uint64_t* set, std::size_t words, std::size_t end)
{
    std::size_t w = 0;
    while (w < words && set[w] == 0)
        ++w;
    if (w == words)
        return;
    set[w] |= ~(set[w] - 1);  // the lowest bit and all above it
    for (++w; w < words; ++w)
        set[w] = ~std::uint64_t{0};
    const std::size_t used = (end + 1) % 64;
    if (used != 0)
        set[words - 1] &= (std::uint64_t{1} << used) - 1;
}

void advance(int token, const wildcard& pattern, position_sets& s)
{
    const std::size_t words = s.words;
    switch (token) {
    case any_run: from_first_on(s.reached, words, s.end); return;
    case dos_star: {
        // From before the last dot it runs up to that dot; from after it, to
        // the end.
        for (std::size_t w = 0; w < words; ++w) {
            s.next[w] = s.reached[w] & s.up_to_last_dot[w];
            s.reached[w] &= ~s.up_to_last_dot[w];
        }
        from_first_on(s.next, words, s.end);
        from_first_on(s.reached, words, s.end);
        for (std::size_t w = 0; w < words; ++w)
            s.reached[w] |= s.next[w] & s.up_to_last_dot[w];
        return;
    }
    case dos_qm:
    case dos_dot: {
        // Steps over any character but a dot (?) or over a dot (.); stays
        // at a dot (?) or at the end (both).
        const bool question = token == dos_qm;
        const bool at_end = has(s.reached, s.end);
        for (std::size_t w = 0; w < words; ++w) {
            s.next[w] = s.reached[w] & (question ? ~s.dots[w] : s.dots[w]);
            s.reached[w] &= question ? s.dots[w] : 0;
        }
        take(s.next, s.end);
        step(s.next, s.next, words);
        for (std::size_t w = 0; w < words; ++w)
            s.reached[w] |= s.next[w];
        if (at_end)
            put(s.reached, s.end);
        return;
    }
    default:
        for (std::size_t w = 0; w < words; ++w)
            s.next[w] = s.reached[w] & pattern.by_letter[static_cast<std::size_t>(token) * words + w];
        step(s.next, s.reached, words);
    }
}

}  // namespace

void wildcard_prepare(wildcard& pattern, std::string_view text)
{
    pattern.tokens.clear();
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char next = i + 1 < text.size() ? text[i + 1] : '\0';
        int token = upper(text[i]);
        if (text[i] == '?')
            token = dos_qm;
        else if (text[i] == '*')
            token = next == '.' ? dos_star : any_run;
        else if (text[i] == '.' && (next == '?' || next == '*' || next == '\0'))
            token = dos_dot;
        // A run of stars is one star: two or more take any run.
        if (is_star(token) && !pattern.tokens.empty() && is_star(pattern.tokens.back()))
            pattern.tokens.back() = any_run;
        else
            pattern.tokens.push_back(token);
    }
}

int wildcard_matches(wildcard& pattern, std::string_view name)
{
    const std::size_t end = name.size();
    const std::size_t words = end / 64 + 1;
    if (words > pattern.words) {
        pattern.words = words;
        pattern.by_letter.assign(256 * words, 0);
        pattern.sets.assign(4 * words, 0);
    }
    // The scratch is laid out with `words` words a set for this name.
    std::uint64_t* const by_letter = pattern.by_letter.data();
    position_sets s{pattern.sets.data(),
                    pattern.sets.data() + words,
                    pattern.sets.data() + 2 * words,
                    pattern.sets.data() + 3 * words,
                    words,
                    end};
    for (std::size_t w = 0; w < 4 * words; ++w)
        pattern.sets[w] = 0;
    std::size_t last_dot = end;
    for (std::size_t j = 0; j < end; ++j) {
        put(by_letter + upper(name[j]) * words, j);
        if (name[j] == '.') {
            put(s.dots, j);
            last_dot = j;
        }
    }
    if (last_dot != end)
        for (std::size_t j = 0; j <= last_dot; ++j)
            put(s.up_to_last_dot, j);
    put(s.reached, 0);

    bool alive = true;
    for (const int token : pattern.tokens) {
        advance(token, pattern, s);
        alive = false;
        for (std::size_t w = 0; w < words; ++w)
            alive = alive || s.reached[w] != 0;
        if (!alive)
            break;
    }
    const int matched = alive && has(s.reached, end);
    for (std::size_t j = 0; j < end; ++j)
        by_letter[upper(name[j]) * words + j / 64] = 0;
    return matched;
}

int wildcard_match(std::string_view pattern, std::string_view name)
{
    wildcard prepared;
    wildcard_prepare(prepared, pattern);
    return wildcard_matches(prepared, name);
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
