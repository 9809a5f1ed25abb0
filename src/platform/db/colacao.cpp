// A person's alphabetical order for names: letters compare without regard
// to case or accents ("Académico" sorts with "Academico", "évora" beside
// "Évora"), ligatures spread out ("ß" as "ss", "æ" as "ae").

#include "platform/db/colacao.h"

#include <algorithm>
#include <cstdint>
#include <string_view>

namespace gv::db {

namespace {

// Decodes one UTF-8 code point at s[i], advancing i. A bad byte becomes a
// code point of its own (0xDC00 + byte) that folds to nothing else, so no
// input ever stops the comparison.
char32_t ler_ponto(std::string_view s, std::size_t& i) {
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

// UTF-8 bytes of c into out (room for 4); returns how many.
int codificar(char32_t c, char (&out)[4]) {
    if (c < 0x80) {
        out[0] = static_cast<char>(c);
        return 1;
    }
    if (c < 0x800) {
        out[0] = static_cast<char>(0xC0 | (c >> 6));
        out[1] = static_cast<char>(0x80 | (c & 0x3F));
        return 2;
    }
    if (c < 0x10000) {
        out[0] = static_cast<char>(0xE0 | (c >> 12));
        out[1] = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out[2] = static_cast<char>(0x80 | (c & 0x3F));
        return 3;
    }
    out[0] = static_cast<char>(0xF0 | (c >> 18));
    out[1] = static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out[2] = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out[3] = static_cast<char>(0x80 | (c & 0x3F));
    return 4;
}

} // namespace

std::string chave_nome(const std::string& s) {
    std::string out;
    out.reserve(s.size());
    // Plain ASCII only changes case.
    if (std::all_of(s.begin(), s.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; })) {
        for (char c : s) out += c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
        return out;
    }
    std::size_t i = 0;
    while (i < s.size()) {
        char32_t c = ler_ponto(s, i);
        if (c < 0x80) {
            out += static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
        } else if (const char* base = dobrar_latino(c)) {
            out += base;
        } else {
            char b[4];
            out.append(b, static_cast<std::size_t>(codificar(c, b)));
        }
    }
    return out;
}

namespace {

// Walks a name's folded key byte by byte without building it, so the
// database can compare names without allocating.
class Dobrado {
public:
    explicit Dobrado(std::string_view s) : s_(s) {}
    // Next byte of the folded key, or -1 at the end.
    int seguinte() {
        if (pendente_ < fim_) return static_cast<unsigned char>(buffer_[pendente_++]);
        if (i_ >= s_.size()) return -1;
        char32_t c = ler_ponto(s_, i_);
        if (c < 0x80) return c >= 'A' && c <= 'Z' ? static_cast<int>(c - 'A' + 'a') : static_cast<int>(c);
        pendente_ = fim_ = 0;
        if (const char* base = dobrar_latino(c)) {
            // Copied: the folding table's one-letter buffer is reused.
            for (; base[fim_] && fim_ < 2; ++fim_) buffer_[fim_] = base[fim_];
        } else {
            fim_ = codificar(c, buffer_);
        }
        return seguinte();
    }

private:
    std::string_view s_;
    std::size_t i_ = 0;
    char buffer_[4] = {};
    int pendente_ = 0, fim_ = 0;
};

} // namespace

int comparar_nomes(std::string_view a, std::string_view b) {
    // The same bytes are the same name; plain ASCII folds by case alone.
    // Both are met far more often than accents, and need no decoding.
    if (a == b) return 0;
    std::size_t i = 0;
    const std::size_t n = std::min(a.size(), b.size());
    for (; i < n; ++i) {
        const auto x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
        if (x >= 0x80 || y >= 0x80) break;
        const int fx = x >= 'A' && x <= 'Z' ? x - 'A' + 'a' : x, fy = y >= 'A' && y <= 'Z' ? y - 'A' + 'a' : y;
        if (fx != fy) return fx < fy ? -1 : 1;
    }
    if (i == n && (i == a.size() || i == b.size())) {
        // One is a prefix of the other, ASCII all through the common part:
        // the longer one folds to more bytes unless its rest folds to none,
        // which no code point does.
        if (a.size() == b.size()) return 0;
        return a.size() < b.size() ? -1 : 1;
    }
    // From the first non-ASCII byte on (a character's start in both).
    Dobrado da(a.substr(i)), dob(b.substr(i));
    for (;;) {
        int x = da.seguinte(), y = dob.seguinte();
        if (x != y) return x < y ? -1 : 1;
        if (x < 0) return 0;
    }
}

} // namespace gv::db
