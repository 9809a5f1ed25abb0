#pragma once
// Shared test fixtures: a private temporary program folder, the game's
// connect string, a scripted user-interface port and a fresh database.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/file.h>
#include <unistd.h>

#include <filesystem>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <string>

#include "data/esquema.h"
#include "data/estado.h"
#include "platform/aleatorio.h"
#include "platform/interface_utilizador.h"

namespace gv::teste {

// Whether the test run's file system keeps a file deleted while open under
// a hidden name (GV_TESTES_SEM holds "esconde"), as FUSE does.
inline bool esconde_apagados() {
    const char* v = std::getenv("GV_TESTES_SEM");
    return v && std::string(v).find("esconde") != std::string::npos;
}
// A name the file system gives a deleted file still open: its own, gone
// once the file is closed.
inline bool escondido_pelo_sistema(const std::string& nome) { return nome.rfind(".fuse_hidden", 0) == 0; }

// The file deleted by another program while the game holds it open: where
// the file system hides such a file, it goes under a hidden name instead.
inline void apagar_de_fora(const std::filesystem::path& p) {
    if (!esconde_apagados()) {
        std::filesystem::remove(p);
        return;
    }
    static unsigned n = 0;
    char nome[64];
    std::snprintf(nome, sizeof nome, ".fuse_hidden%08x%08x", static_cast<unsigned>(::getpid()), ++n);
    std::filesystem::rename(p, p.parent_path() / nome);
}

// Whether the file system of the folder makes hard links, symbolic links
// and named pipes, as the tests that make them need (exFAT makes none).
inline bool faz_ligacoes(const std::filesystem::path& pasta) {
    namespace fs = std::filesystem;
    const fs::path a = pasta / ".sonda-ligacoes", b = pasta / ".sonda-ligacoes-2";
    std::ofstream(a) << "";
    std::error_code duro, simbolico, e;
    fs::create_hard_link(a, b, duro);
    fs::remove(b, e);
    fs::create_symlink(a, b, simbolico);
    fs::remove(b, e);
    const bool tubo = ::mkfifo(b.c_str(), 0600) == 0;
    fs::remove(b, e);
    fs::remove(a, e);
    return !duro && !simbolico && tubo;
}
#define SALTAR_SEM_LIGACOES()                                                                                         \
    if (!::gv::teste::faz_ligacoes(pasta)) GTEST_SKIP() << "the games' folder has no hard or symbolic links"

inline std::string ler_bytes(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Whether a file is the note a window leaves beside a game it has open,
// where the folder's locks are this machine's only: the game's own, made
// and removed by it.
inline bool nota_de_janela(const std::string& nome) {
    return nome.size() > 7 && nome.compare(nome.size() - 7, 7, "-aberto") == 0;
}

// Every file in the folder (not in its folders) and its bytes, less the
// file system's hidden names and the windows' notes.
inline std::map<std::string, std::string> pasta_inteira(const std::filesystem::path& pasta) {
    std::map<std::string, std::string> r;
    for (const auto& f : std::filesystem::directory_iterator(pasta))
        if (f.is_regular_file() && !escondido_pelo_sistema(f.path().filename().string()) &&
            !nota_de_janela(f.path().filename().string()))
            r[f.path().filename().string()] = ler_bytes(f.path());
    return r;
}

// A file built once for this build of the test binary and of the master
// database and kept in the build, shared by all its test processes (CTest
// runs them side by side): the first to ask builds it, under a lock, with
// `construir(destino)`.
inline std::filesystem::path modelo(const std::string& nome,
                                    const std::function<void(const std::filesystem::path&)>& construir) {
    namespace fs = std::filesystem;
    const fs::path exe = fs::read_symlink("/proc/self/exe");
    // Beside the build's bin folder, out of the game's file dialogs.
    const fs::path pasta = exe.parent_path().parent_path() / "modelos_testes" / exe.filename();
    fs::create_directories(pasta);
    const fs::path ficheiro = pasta / nome, carimbo = pasta / (nome + ".carimbo");
    std::string deste = std::to_string(fs::last_write_time(exe).time_since_epoch().count());
    // A new game is made from the master database, which the seed data
    // rebuilds without relinking the test binaries.
    std::error_code sem_mestra;
    const auto mestra = fs::last_write_time(GV_BASE_MESTRA, sem_mestra);
    if (!sem_mestra) deste += " " + std::to_string(mestra.time_since_epoch().count());
    // One lock for the binary's processes; a builder that asks for another
    // model already holds it.
    static int dentro = 0;
    const int fd = dentro ? -1 : ::open((pasta / ".trinco").c_str(), O_CREAT | O_RDWR, 0644);
    if (fd >= 0) ::flock(fd, LOCK_EX);
    ++dentro;
    if (!fs::exists(ficheiro) || ler_bytes(carimbo) != deste) {
        fs::path novo = ficheiro;
        novo += ".novo";
        fs::remove(novo);
        construir(novo);
        fs::rename(novo, ficheiro);
        // A note the builder left beside it goes with it.
        if (fs::exists(novo.string() + ".nota")) fs::rename(novo.string() + ".nota", ficheiro.string() + ".nota");
        std::ofstream(carimbo, std::ios::binary | std::ios::trunc) << deste;
    }
    --dentro;
    if (fd >= 0) {
        ::flock(fd, LOCK_UN);
        ::close(fd);
    }
    return ficheiro;
}

// Every table's rows in their stored order, without the engine's row
// numbers (a compaction renumbers them): equal texts, equal games.
inline std::string conteudo_base(db::Database& d) {
    std::string r;
    for (const auto& t : d.tabelas()) {
        auto rs = d.OpenRecordset("SELECT * FROM \"" + t + "\" ORDER BY rowid");
        r += "[" + t + "]\n";
        for (; !rs.Eof(); rs.MoveNext()) {
            for (int i = 0; i < rs.n_campos(); ++i) r += rs.campo(i).texto() + "|";
            r += "\n";
        }
    }
    return r;
}

class Pasta_Temporaria : public ::testing::Test {
protected:
    void SetUp() override {
        auto base = std::filesystem::temp_directory_path() / "gv_testes";
        std::filesystem::create_directories(base);
        std::string modelo = (base / "XXXXXX").string();
        pasta = mkdtemp(modelo.data());
        repor_estado();
        Pasta_Programa = pasta.string();
        Ligacao_BD = LIGACAO_JOGO;
        semear_aleatorio(12345);
        // A file held by another connection is reported at once.
        db::Database::espera_bloqueio_ms() = 50;
        instalada_ = std::make_unique<Ui_Instalada>(porta);
    }
    void TearDown() override {
        repor_estado();
        instalada_.reset();
        std::error_code ec;
        std::filesystem::remove_all(pasta, ec);
    }
    std::string caminho(const std::string& nome) const { return (pasta / nome).string(); }

    // A new empty game database (every game, fixed and template table).
    std::unique_ptr<db::Database> nova_base(const std::string& nome) {
        auto d = db::Database::criar(caminho(nome), Ligacao_BD);
        criar_esquema(*d);
        return d;
    }

    std::filesystem::path pasta;
    Interface_Guionizada porta;

private:
    std::unique_ptr<Ui_Instalada> instalada_;
};

} // namespace gv::teste
