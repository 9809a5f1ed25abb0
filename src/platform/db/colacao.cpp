// A person's alphabetical order for names: letters compare without regard
// to case or accents ("Académico" sorts with "Academico", "évora" beside
// "Évora"), ligatures spread out ("ß" as "ss", "æ" as "ae").

#include "platform/db/database.h"

#include <cstdint>

namespace gv::db {

namespace {

// Decodes one UTF-8 code point at s[i], advancing i. A bad byte becomes a
// code point of its own (0xDC00 + byte) that folds to nothing else, so no
// input ever stops the comparison.
char32_t ler_ponto(const std::string& s, std::size_t& i) {
    auto b = static_cast<unsigned char>(s[i]);
    int n = b < 0x80 ? 0 : (b >> 5) == 0x6 ? 1 : (b >> 4) == 0xE ? 2 : (b >> 3) == 0x1E ? 3 : -1;
    if (n < 0 || (n > 0 && i + n >= s.size())) { ++i; return 0xDC00 + b; }
    if (n == 0) { ++i; return b; }
    char32_t c = b & (0x3F >> n);
    for (int k = 1; k <= n; ++k) {
        auto cb = static_cast<unsigned char>(s[i + k]);
        if ((cb & 0xC0) != 0x80) { ++i; return 0xDC00 + b; }
        c = (c << 6) | (cb & 0x3F);
    }
    i += n + 1;
    return c;
}

// Base letters (lower case, no accent) of the Latin-1 supplement and the
// first Latin extended block; empty where the point folds to itself.
const char* dobrar_latino(char32_t c) {
    static const char* const latin1[64] = {
        // C0-CF
        "a", "a", "a", "a", "a", "a", "ae", "c", "e", "e", "e", "e", "i", "i", "i", "i",
        // D0-DF
        "d", "n", "o", "o", "o", "o", "o", nullptr, "o", "u", "u", "u", "u", "y", "th", "ss",
        // E0-EF
        "a", "a", "a", "a", "a", "a", "ae", "c", "e", "e", "e", "e", "i", "i", "i", "i",
        // F0-FF
        "d", "n", "o", "o", "o", "o", "o", nullptr, "o", "u", "u", "u", "u", "y", "th", "y",
    };
    if (c >= 0xC0 && c <= 0xFF) return latin1[c - 0xC0];
    if (c >= 0x100 && c <= 0x17F) {
        // Latin Extended-A comes mostly in upper/lower pairs of one base letter.
        static const char bases[] =
            "aaaaaa" "cccccccc" "dddd" "eeeeeeeeee" "gggggggg" "hhhh" "iiiiiiiiii" "??"
            "jj" "kkk" "llllllllll" "nnnnnnnnn" "oooooo" "??" "rrrrrr" "ssssssss" "tttttt"
            "uuuuuuuuuuuu" "ww" "yyy" "zzzzzz" "s";
        static_assert(sizeof(bases) - 1 == 128);
        static thread_local char um[2];
        if (c == 0x132 || c == 0x133) return "ij";
        if (c == 0x152 || c == 0x153) return "oe";
        std::size_t k = c - 0x100;
        um[0] = bases[k];
        um[1] = 0;
        return um;
    }
    return nullptr;
}

void acrescentar_utf8(std::string& out, char32_t c) {
    if (c < 0x80) out += static_cast<char>(c);
    else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

} // namespace

std::string chave_nome(const std::string& s) {
    std::string out;
    out.reserve(s.size());
    std::size_t i = 0;
    while (i < s.size()) {
        char32_t c = ler_ponto(s, i);
        if (c < 0x80) {
            out += static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
        } else if (const char* base = dobrar_latino(c)) {
            out += base;
        } else {
            acrescentar_utf8(out, c);
        }
    }
    return out;
}

int comparar_nomes(const std::string& a, const std::string& b) {
    std::string ka = chave_nome(a), kb = chave_nome(b);
    int r = ka.compare(kb);
    return r < 0 ? -1 : r > 0 ? 1 : 0;
}

} // namespace gv::db
