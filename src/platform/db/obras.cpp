#include "platform/db/obras.h"

#include "platform/db/capacidades.h"
#include "platform/db/erro_bd.h"
#include "platform/db/interno.h"
#include "platform/db/lugar.h"
#include "platform/db/nota_aberto.h"
#include "platform/falhas.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <filesystem>
#include <string_view>
#include <vector>

namespace fs = std::filesystem;

namespace gv::db {

namespace {

constexpr const char* A_Criar = ".a-criar";   // the hold, marked
constexpr const char* Feitos[] = {".a-semear", ".a-cifrar"};
// What the engine keeps beside a file it writes.
constexpr const char* Ao_Lado[] = {"-journal", "-wal", "-shm"};

// Whether the hold open at fd is a making's: holding the mark alone.
bool marcada(int fd) {
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) ||
        static_cast<std::size_t>(st.st_size) != Marca_Obra.size())
        return false;
    char lido[64];
    return ler_em(fd, lido, Marca_Obra.size(), 0) == Marca_Obra.size() &&
           std::string_view(lido, Marca_Obra.size()) == Marca_Obra;
}

// A regular file of the folder removed, never through a link.
void remover_comum(int pasta, const std::string& nome) {
    struct stat st {};
    if (::fstatat(pasta, nome.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(st.st_mode))
        ::unlinkat(pasta, nome.c_str(), 0);
}

// The files a making builds, with what the engine kept beside each.
void remover_feitos(int pasta, const std::string& base) {
    for (const char* f : Feitos) {
        const std::string feito = base + f;
        for (const char* sufixo : Ao_Lado) remover_comum(pasta, feito + sufixo);
        remover_comum(pasta, feito);
    }
}

bool acaba_em(std::string_view s, std::string_view fim) {
    return s.size() > fim.size() &&
           std::equal(fim.rbegin(), fim.rend(), s.rbegin(), [](char a, char b) {
               return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
           });
}

} // namespace

Obra::Obra(std::shared_ptr<Lugar_Jogo> lugar, int espera_ms)
    : lugar_(std::move(lugar)), base_(lugar_->nome()),
      dono_(Bloqueio_Jogo::tomar_obra(lugar_->pasta(), base_ + A_Criar, lugar_->escolhido(), Marca_Obra,
                                      espera_ms)) {
    ponto_de_falha("obra.tomada");
    if (dono_.tomado() && !marcada(dono_.descritor())) {
        dono_ = Bloqueio_Jogo();   // a file of someone's: left as it is
        throw Erro_BD(ERRO_FICHEIRO, "Ao lado de " + lugar_->caminho() + " está " + base_ + A_Criar,
                      Erro_BD::Tipo::Sobra_Alheia, lugar_->caminho() + A_Criar);
    }
}

Obra::~Obra() {
    // While it is still held.
    remover_feitos(lugar_->pasta(), base_);
    if (dono_.tomado()) remover_comum(lugar_->pasta(), base_ + A_Criar);
}

std::string Obra::a_semear() const { return lugar_->no_motor(base_ + Feitos[0]); }
std::string Obra::a_cifrar() const { return lugar_->no_motor(base_ + Feitos[1]); }

void Obra::limpar() const { remover_feitos(lugar_->pasta(), base_); }

void Obra::por_no_lugar(bool havia) const { lugar_->substituir(base_ + Feitos[1], havia); }

bool nome_de_obra(const std::string& nome) {
    return acaba_em(nome, A_Criar) || nome_temporario(fs::path(nome).filename().string()) || std::any_of(std::begin(Feitos), std::end(Feitos), [&](const char* f) {
               return acaba_em(nome, f);
           });
}

bool nome_ao_lado(const std::string& nome) {
    return acaba_em(nome, Sufixo_Nota) || acaba_em(nome, Sufixo_De_Lado) ||
           std::any_of(std::begin(Ao_Lado), std::end(Ao_Lado), [&](const char* s) { return acaba_em(nome, s); });
}

void limpar_obras_orfas(int pasta) {
    // The intents and copies of makings killed midway first: the empty hold
    // an intent names goes with it.
    limpar_novos_orfaos(pasta, Marca_Obra);
    std::vector<std::string> holds;
    if (DIR* d = ::fdopendir(::openat(pasta, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC))) {
        while (const dirent* e = ::readdir(d))
            if (acaba_em(e->d_name, A_Criar)) holds.emplace_back(e->d_name);
        ::closedir(d);
    }
    for (const std::string& hold : holds) {
        // Never through a link; a hold another window has is a making alive.
        const Bloqueio_Jogo livre =
            Bloqueio_Jogo::do_descritor(::openat(pasta, hold.c_str(), O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
        if (!livre.tomado() || !marcada(livre.descritor())) continue;
        remover_feitos(pasta, hold.substr(0, hold.size() - std::strlen(A_Criar)));
        remover_comum(pasta, hold);
    }
}

void limpar_obras_orfas(const std::string& pasta) {
    const int fd = ::open(pasta.empty() ? "." : pasta.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    limpar_obras_orfas(fd);
    ::close(fd);
}

} // namespace gv::db
