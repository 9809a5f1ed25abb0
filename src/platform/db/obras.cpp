#include "platform/db/obras.h"

#include <filesystem>
#include <set>

namespace fs = std::filesystem;

namespace gv::db {

namespace {

constexpr const char* A_Criar = ".a-criar";
constexpr const char* A_Cifrar = ".a-cifrar";

// What the engine kept beside a file it wrote, and the file when asked.
void remover_com_diarios(const std::string& f, bool tambem_o_ficheiro = true) {
    std::error_code ec;
    for (const char* sufixo : {"-journal", "-wal", "-shm"}) fs::remove(f + sufixo, ec);
    if (tambem_o_ficheiro) fs::remove(f, ec);
}

// Every file of a making, the hold's own last.
void remover_obra(const std::string& a_cifrar, const std::string& a_criar) {
    remover_com_diarios(a_cifrar);
    remover_com_diarios(a_criar);
}

bool acaba_em(const std::string& s, const std::string& fim) {
    return s.size() > fim.size() && s.compare(s.size() - fim.size(), fim.size(), fim) == 0;
}

} // namespace

// The hold is the file a_criar itself: made and held before any other.
Obra::Obra(const std::string& jogo, const std::string& nome)
    : a_criar_(jogo + A_Criar), a_cifrar_(jogo + A_Cifrar), dono_(Bloqueio_Jogo::tomar_obra(a_criar_, nome)) {}

// While it is still held.
Obra::~Obra() { remover_obra(a_cifrar_, a_criar_); }

void Obra::limpar() const {
    remover_com_diarios(a_cifrar_);
    remover_com_diarios(a_criar_, false);
}

void limpar_obras_orfas(const std::string& pasta) {
    std::error_code ec;
    std::set<std::string> jogos;
    for (fs::directory_iterator it(pasta.empty() ? "." : pasta, ec), fim; !ec && it != fim; it.increment(ec)) {
        const std::string f = it->path().string();
        // Only beside a game's name: nothing else of the folder is looked at.
        for (const char* sufixo : {A_Criar, A_Cifrar})
            if (acaba_em(f, std::string(".gv") + sufixo) && it->symlink_status(ec).type() == fs::file_type::regular)
                jogos.insert(f.substr(0, f.size() - std::string(sufixo).size()));
        ec.clear();
    }
    for (const std::string& jogo : jogos) {
        const Bloqueio_Jogo livre = Bloqueio_Jogo::se_livre(jogo + A_Criar);
        if (!livre.tomado()) continue;
        remover_obra(jogo + A_Cifrar, jogo + A_Criar);
    }
}

} // namespace gv::db
