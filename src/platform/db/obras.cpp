#include "platform/db/obras.h"

#include "platform/db/erro_bd.h"
#include "platform/db/interno.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <set>
#include <utility>
#include <vector>

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
Obra::Obra(const std::string& jogo, const std::string& nome, int espera_ms)
    : a_criar_(jogo + A_Criar), a_cifrar_(jogo + A_Cifrar),
      dono_(Bloqueio_Jogo::tomar_obra(a_criar_, nome, espera_ms)) {}

// While it is still held.
Obra::~Obra() { remover_obra(a_cifrar_, a_criar_); }

void Obra::limpar() const {
    remover_com_diarios(a_cifrar_);
    remover_com_diarios(a_criar_, false);
}

void substituir_ficheiro(const std::string& origem, const std::string& destino, bool substituir) {
    std::error_code ec;
    // A journal left beside destino belongs to the file being replaced and
    // would be played back onto the new one: it is set aside first, put back
    // if the replacement fails and removed once it is done.
    std::vector<std::pair<std::string, std::string>> postos;
    for (const char* sufixo : {"-journal", "-wal"}) {
        const std::string diario = destino + sufixo, posto = diario + ".gvantigo";
        if (!fs::exists(diario, ec)) continue;
        fs::remove(posto, ec);
        fs::rename(diario, posto, ec);
        if (ec) break;
        postos.emplace_back(diario, posto);
    }
    if (!ec && substituir) fs::rename(origem, destino, ec);
    if (!ec && !substituir) {
        // Never over a file that took the name meanwhile.
        if (::renameat2(AT_FDCWD, origem.c_str(), AT_FDCWD, destino.c_str(), RENAME_NOREPLACE) != 0) {
            ec.assign(errno, std::generic_category());
            if (ec == std::errc::invalid_argument || ec == std::errc::function_not_supported) {
                ec.clear();
                if (fs::exists(destino, ec)) ec = std::make_error_code(std::errc::file_exists);
                else fs::rename(origem, destino, ec);
            }
        }
    }
    if (ec == std::errc::cross_device_link) {
        // Copy beside the destination first, then rename there.
        std::string ao_lado = destino + ".gvnovo";
        fs::remove(ao_lado, ec);
        fs::copy_file(origem, ao_lado, ec);
        if (!ec) {
            sincronizar(ao_lado, false);
            fs::rename(ao_lado, destino, ec);
        }
        if (ec) {
            std::error_code ignorar;
            fs::remove(ao_lado, ignorar);
        } else {
            fs::remove(origem, ec);
            ec.clear();
        }
    }
    if (ec) {
        std::error_code ignorar;
        for (const auto& [diario, posto] : postos) fs::rename(posto, diario, ignorar);
        if (ec == std::errc::file_exists) throw ficheiro_movido(destino);
        throw Erro_BD(ERRO_FICHEIRO, "Não foi possível substituir " + destino + ": " + ec.message(),
                      tipo_do_sistema(ec));
    }
    for (const auto& [diario, posto] : postos) fs::remove(posto, ec);
    sincronizar(fs::path(destino).parent_path().empty() ? "." : fs::path(destino).parent_path().string(), true);
}

void sincronizar(const std::string& caminho, bool pasta) {
    int fd = ::open(caminho.c_str(), (pasta ? O_RDONLY | O_DIRECTORY : O_RDONLY) | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

void limpar_obras_orfas(const std::string& pasta) {
    std::error_code ec;
    std::set<std::string> jogos;
    for (fs::directory_iterator it(pasta.empty() ? "." : pasta, ec), fim; !ec && it != fim; it.increment(ec)) {
        const std::string f = it->path().string();
        // A making's own files, whatever the game's name (the file dialog
        // keeps any); never through a link.
        for (const char* sufixo : {A_Criar, A_Cifrar})
            if (acaba_em(f, sufixo) && it->symlink_status(ec).type() == fs::file_type::regular)
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
