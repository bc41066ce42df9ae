// The Zibol encoding: the codes read on all eight bits, and the table that
// gives the code page 1250 byte for every other code by its low seven bits.
#pragma once

// Codes recognised on all eight bits, before any lookup.
constexpr unsigned char zibol_escape = 0x1B;
constexpr unsigned char zibol_space = 0x20;
constexpr unsigned char zibol_line_end = 0x9B;

// A table entry that produces no output at all.
constexpr unsigned char no_output = 0x20;

// Code page 1250 byte for each 7-bit Zibol code; other bytes are looked up by
// their low seven bits.
constexpr unsigned char zibol_table[128] = {
    no_output,  // 0x00 -> nothing
    0xC1,       // 0x01 -> CAPITAL A WITH ACUTE
    0x2B,       // 0x02 -> PLUS SIGN
    0xC8,       // 0x03 -> CAPITAL C WITH CARON
    0xEF,       // 0x04 -> SMALL D WITH CARON
    0xC9,       // 0x05 -> CAPITAL E WITH ACUTE
    0x28,       // 0x06 -> LEFT PARENTHESIS
    0x24,       // 0x07 -> DOLLAR SIGN
    0x2A,       // 0x08 -> ASTERISK
    0xCD,       // 0x09 -> CAPITAL I WITH ACUTE
    0xD2,       // 0x0A -> CAPITAL N WITH CARON
    0xD3,       // 0x0B -> CAPITAL O WITH ACUTE
    0xBE,       // 0x0C -> SMALL L WITH CARON
    0xCC,       // 0x0D -> CAPITAL E WITH CARON
    0xF2,       // 0x0E -> SMALL N WITH CARON
    0xF3,       // 0x0F -> SMALL O WITH ACUTE
    0xFC,       // 0x10 -> SMALL U WITH DIAERESIS
    0xE0,       // 0x11 -> SMALL R WITH ACUTE
    0xD8,       // 0x12 -> CAPITAL R WITH CARON
    0x8A,       // 0x13 -> CAPITAL S WITH CARON
    0x9D,       // 0x14 -> SMALL T WITH CARON
    0xDA,       // 0x15 -> CAPITAL U WITH ACUTE
    0xA7,       // 0x16 -> SECTION SIGN
    0xA9,       // 0x17 -> COPYRIGHT SIGN
    0xF4,       // 0x18 -> SMALL O WITH CIRCUMFLEX
    0xDD,       // 0x19 -> CAPITAL Y WITH ACUTE
    0x8E,       // 0x1A -> CAPITAL Z WITH CARON
    no_output,  // 0x1B -> nothing (the escape code never gets here)
    0xD9,       // 0x1C -> CAPITAL U WITH RING ABOVE
    0x8D,       // 0x1D -> CAPITAL T WITH CARON
    no_output,  // 0x1E -> nothing
    0xCF,       // 0x1F -> CAPITAL D WITH CARON
    no_output,  // 0x20 -> nothing (reached only by 0xA0)
    0x21,       // 0x21 -> EXCLAMATION MARK
    0x22,       // 0x22 -> QUOTATION MARK
    0x23,       // 0x23 -> NUMBER SIGN
    0x29,       // 0x24 -> RIGHT PARENTHESIS
    0xEC,       // 0x25 -> SMALL E WITH CARON
    0x9A,       // 0x26 -> SMALL S WITH CARON
    0xE8,       // 0x27 -> SMALL C WITH CARON
    0x9E,       // 0x28 -> SMALL Z WITH CARON
    0xED,       // 0x29 -> SMALL I WITH ACUTE
    0xE1,       // 0x2A -> SMALL A WITH ACUTE
    0xF9,       // 0x2B -> SMALL U WITH RING ABOVE
    0x2C,       // 0x2C -> COMMA
    0x2D,       // 0x2D -> HYPHEN-MINUS
    0x2E,       // 0x2E -> FULL STOP
    0x2F,       // 0x2F -> SOLIDUS
    0x30,       // 0x30 -> DIGIT ZERO
    0x31,       // 0x31 -> DIGIT ONE
    0x32,       // 0x32 -> DIGIT TWO
    0x33,       // 0x33 -> DIGIT THREE
    0x34,       // 0x34 -> DIGIT FOUR
    0x35,       // 0x35 -> DIGIT FIVE
    0x36,       // 0x36 -> DIGIT SIX
    0x37,       // 0x37 -> DIGIT SEVEN
    0x38,       // 0x38 -> DIGIT EIGHT
    0x39,       // 0x39 -> DIGIT NINE
    0x3A,       // 0x3A -> COLON
    0x3B,       // 0x3B -> SEMICOLON
    0x3C,       // 0x3C -> LESS-THAN SIGN
    0x3D,       // 0x3D -> EQUALS SIGN
    0x3E,       // 0x3E -> GREATER-THAN SIGN
    0x3F,       // 0x3F -> QUESTION MARK
    0xF8,       // 0x40 -> SMALL R WITH CARON
    0x41,       // 0x41 -> A
    0x42,       // 0x42 -> B
    0x43,       // 0x43 -> C
    0x44,       // 0x44 -> D
    0x45,       // 0x45 -> E
    0x46,       // 0x46 -> F
    0x47,       // 0x47 -> G
    0x48,       // 0x48 -> H
    0x49,       // 0x49 -> I
    0x4A,       // 0x4A -> J
    0x4B,       // 0x4B -> K
    0x4C,       // 0x4C -> L
    0x4D,       // 0x4D -> M
    0x4E,       // 0x4E -> N
    0x4F,       // 0x4F -> O
    0x50,       // 0x50 -> P
    0x51,       // 0x51 -> Q
    0x52,       // 0x52 -> R
    0x53,       // 0x53 -> S
    0x54,       // 0x54 -> T
    0x55,       // 0x55 -> U
    0x56,       // 0x56 -> V
    0x57,       // 0x57 -> W
    0x58,       // 0x58 -> X
    0x59,       // 0x59 -> Y
    0x5A,       // 0x5A -> Z
    0xE9,       // 0x5B -> SMALL E WITH ACUTE
    0xBC,       // 0x5C -> CAPITAL L WITH CARON
    0xFA,       // 0x5D -> SMALL U WITH ACUTE
    0xC4,       // 0x5E -> CAPITAL A WITH DIAERESIS
    0x5F,       // 0x5F -> LOW LINE
    0xFD,       // 0x60 -> SMALL Y WITH ACUTE
    0x61,       // 0x61 -> a
    0x62,       // 0x62 -> b
    0x63,       // 0x63 -> c
    0x64,       // 0x64 -> d
    0x65,       // 0x65 -> e
    0x66,       // 0x66 -> f
    0x67,       // 0x67 -> g
    0x68,       // 0x68 -> h
    0x69,       // 0x69 -> i
    0x6A,       // 0x6A -> j
    0x6B,       // 0x6B -> k
    0x6C,       // 0x6C -> l
    0x6D,       // 0x6D -> m
    0x6E,       // 0x6E -> n
    0x6F,       // 0x6F -> o
    0x70,       // 0x70 -> p
    0x71,       // 0x71 -> q
    0x72,       // 0x72 -> r
    0x73,       // 0x73 -> s
    0x74,       // 0x74 -> t
    0x75,       // 0x75 -> u
    0x76,       // 0x76 -> v
    0x77,       // 0x77 -> w
    0x78,       // 0x78 -> x
    0x79,       // 0x79 -> y
    0x7A,       // 0x7A -> z
    0xDC,       // 0x7B -> CAPITAL U WITH DIAERESIS
    0x7C,       // 0x7C -> VERTICAL LINE
    0x7D,       // 0x7D -> RIGHT CURLY BRACKET
    0xF6,       // 0x7E -> SMALL O WITH DIAERESIS
    0xE4,       // 0x7F -> SMALL A WITH DIAERESIS
};
