// Every text the game can show a person, as the code writes it: the
// literals handed to the message boxes, the questions and the language
// picker. None may carry a statement or a placeholder of the engine.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

// The source without its comments; string and character literals kept.
std::string sem_comentarios(const std::string& s) {
    std::string r;
    for (std::size_t i = 0; i < s.size(); ++i) {
        const char c = s[i];
        if (c == '"' || c == '\'') {
            const std::size_t inicio = i;
            for (++i; i < s.size() && s[i] != c; ++i) i += s[i] == '\\';
            r.append(s, inicio, i - inicio + 1);
        } else if (c == '/' && i + 1 < s.size() && s[i + 1] == '/') {
            i = std::min(s.find('\n', i), s.size()) - 1;
        } else if (c == '/' && i + 1 < s.size() && s[i + 1] == '*') {
            if ((i = s.find("*/", i + 2)) == std::string::npos) break;
            ++i;
        } else {
            r += c;
        }
    }
    return r;
}

// The string literals inside the parentheses (or braces) that open at `i`.
void literais_da_chamada(const std::string& s, std::size_t i, const std::string& ficheiro,
                         std::vector<std::pair<std::string, std::string>>& r) {
    for (int nivel = 0; i < s.size(); ++i) {
        const char c = s[i];
        if (c == '(' || c == '{') {
            ++nivel;
        } else if (c == ')' || c == '}') {
            if (--nivel == 0) return;
        } else if (c == '"' || c == '\'') {
            std::string t;
            for (++i; i < s.size() && s[i] != c; ++i) {
                if (s[i] == '\\') t += s[i++];
                t += s[i];
            }
            if (c == '"') r.push_back({ficheiro, t});
        }
    }
}

TEST(Mensagens, NoTextShownCarriesAStatementOrAPlaceholder) {
    std::vector<std::pair<std::string, std::string>> textos;  // file, text
    const std::regex chamada(R"(\b(txt|aviso|pergunta|parar|recusar|Negocio_Falhou|Mensagem)\s*[({])");
    for (const auto& e : fs::recursive_directory_iterator(GV_FONTES)) {
        if (e.path().extension() != ".cpp" && e.path().extension() != ".h") continue;
        std::ifstream in(e.path());
        const std::string s = sem_comentarios({std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()});
        for (auto it = std::sregex_iterator(s.begin(), s.end(), chamada); it != std::sregex_iterator(); ++it)
            literais_da_chamada(s, static_cast<std::size_t>(it->position(0) + it->length(0) - 1),
                                e.path().lexically_relative(GV_FONTES).string(), textos);
    }
    ASSERT_GT(textos.size(), 300u) << "the scan finds the game's messages";
    const std::regex sql(R"(\b(SELECT|INSERT|UPDATE|DELETE|WHERE|ATTACH|DETACH|PRAGMA|VACUUM|sqlcipher\w*|sqlite\w*)\b)");
    const std::regex marcador(R"(\?\d|\(\?|\?\s*[,)]|=\s*\?|%[sd])");
    for (const auto& [ficheiro, t] : textos)
        EXPECT_FALSE(std::regex_search(t, sql) || std::regex_search(t, marcador)) << ficheiro << ": " << t;
}

} // namespace
