#include "platform/texto.h"

namespace gv {

namespace {

char32_t maiuscula(char32_t c) {
    if (c >= 'a' && c <= 'z') return c - 32;
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return c - 0x20;
    if (c == 0xFF) return 0x178;
    if ((c >= 0x100 && c <= 0x137) || (c >= 0x14A && c <= 0x177)) return c & 1 ? c - 1 : c;
    if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E)) return c & 1 ? c : c - 1;
    return c;
}

} // namespace

std::string maiusculas(const std::string& s) {
    std::string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size();) {
        auto b = static_cast<unsigned char>(s[i]);
        if (b < 0x80) {
            out += static_cast<char>(maiuscula(b));
            ++i;
            continue;
        }
        if ((b >> 5) == 0x6 && i + 1 < s.size() && (static_cast<unsigned char>(s[i + 1]) & 0xC0) == 0x80) {
            char32_t c = ((b & 0x1F) << 6) | (static_cast<unsigned char>(s[i + 1]) & 0x3F);
            c = maiuscula(c);
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
            i += 2;
            continue;
        }
        out += s[i++];  // other scripts and broken bytes pass unchanged
    }
    return out;
}

int n_caracteres(const std::string& s) {
    int n = 0;
    for (unsigned char c : s) n += (c & 0xC0) != 0x80;
    return n;
}

std::string aparar(const std::string& s) {
    auto a = s.find_first_not_of(" \t\r\n");
    if (a == std::string::npos) return {};
    auto b = s.find_last_not_of(" \t\r\n");
    return s.substr(a, b - a + 1);
}

std::string formatar_dinheiro(long long v) {
    bool negativo = v < 0;
    unsigned long long u = negativo ? 0ULL - static_cast<unsigned long long>(v) : static_cast<unsigned long long>(v);
    std::string d = std::to_string(u), out;
    int conta = 0;
    for (auto it = d.rbegin(); it != d.rend(); ++it) {
        if (conta && conta % 3 == 0) out += ',';
        out += *it;
        ++conta;
    }
    if (negativo) out += '-';
    return {out.rbegin(), out.rend()};
}

} // namespace gv
