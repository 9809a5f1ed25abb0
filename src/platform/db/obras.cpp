#include "platform/db/obras.h"

#include "platform/db/alternativas.h"
#include "platform/db/capacidades.h"
#include "platform/db/erro_bd.h"
#include "platform/db/interno.h"
#include "platform/db/lugar.h"
#include "platform/db/lugar_interno.h"
#include "platform/db/maquina.h"
#include "platform/db/nota_aberto.h"
#include "platform/falhas.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <ctime>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string_view>
#include <vector>

namespace fs = std::filesystem;

namespace gv::db {

namespace {

constexpr const char* A_Criar = ".a-criar";   // the hold, marked
constexpr const char* Feitos[] = {".a-semear", ".a-cifrar"};
// What the engine keeps beside a file it writes.
constexpr const char* Ao_Lado[] = {"-journal", "-wal", "-shm"};

// What a hold's mark adds: what the making window's locks reach.
constexpr std::string_view Alcance = "alcance=";
constexpr std::size_t Tamanho_Alcance = 16;

// The mark of the hold open at fd, if it is a making's: holding the mark
// alone (an earlier version's), or the mark and what its window's locks
// reach; that reach, empty for the mark alone.
std::optional<std::string> marca_lida(int fd) {
    const std::size_t maior = Marca_Obra.size() + Alcance.size() + Tamanho_Alcance + 1;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || static_cast<std::size_t>(st.st_size) > maior) return {};
    std::string lido(maior, '\0');
    lido.resize(ler_em(fd, lido.data(), lido.size(), 0));
    if (lido.size() != static_cast<std::size_t>(st.st_size) || lido.compare(0, Marca_Obra.size(), Marca_Obra) != 0)
        return {};
    if (lido.size() == Marca_Obra.size()) return std::string();
    const std::string resto = lido.substr(Marca_Obra.size());
    if (resto.size() != maior - Marca_Obra.size() || resto.compare(0, Alcance.size(), Alcance) != 0 ||
        resto.back() != '\n')
        return {};
    return resto.substr(Alcance.size(), Tamanho_Alcance);
}

bool marcada(int fd) { return marca_lida(fd).has_value(); }

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

// Where locks reach this machine only, what another machine left (or a
// window through another mount of the share) is judged by its age: no
// making or copy takes this long.
constexpr std::time_t Idade_Sobra = 60 * 60;

// f given the folder named `pasta` (the current one when empty), open for
// as long as it runs; nothing when it does not open.
template <class F>
void pela_pasta(const std::string& pasta, F f) {
    const int fd = ::open(pasta.empty() ? "." : pasta.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    f(fd);
    ::close(fd);
}

bool velho(const struct stat& st) { return std::time(nullptr) - st.st_mtim.tv_sec > Idade_Sobra; }

// The temporary files of the game's own in the folder that no window holds
// (a making or a copy killed midway, a note set aside), gone; for each that
// carried a making's intent (Marca_Obra + the hold's name) and whose hold is
// empty and free, that hold too. Where locks are this machine's only, one
// another machine made is gone only once it is old.
void limpar_temporarios(int pasta, bool locais, const std::string& alcance) {
    std::vector<std::string> novos;
    if (DIR* d = ::fdopendir(::openat(pasta, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC))) {
        while (const dirent* e = ::readdir(d))
            if (nome_temporario(e->d_name)) novos.emplace_back(e->d_name);
        ::closedir(d);
    }
    for (const std::string& nome : novos) {
        // Never through a link; one another window holds is being made.
        const Bloqueio_Jogo livre =
            Bloqueio_Jogo::do_descritor(::openat(pasta, nome.c_str(), O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
        struct stat st {};
        if (!livre.tomado() || ::fstat(livre.descritor(), &st) != 0 || !S_ISREG(st.st_mode)) continue;
        if (locais && !temporario_do_alcance(nome, alcance) && !velho(st)) continue;
        // A making's intent: its hold, if the making was killed before it
        // marked it, is empty, and goes with it.
        std::string lido(4096 + Marca_Obra.size(), '\0');
        lido.resize(ler_em(livre.descritor(), lido.data(), lido.size(), 0));
        if (lido.size() > Marca_Obra.size() && lido.compare(0, Marca_Obra.size(), Marca_Obra) == 0) {
            std::string hold = lido.substr(Marca_Obra.size());
            if (hold.compare(0, Alcance.size(), Alcance) == 0 && hold.find('\n') != std::string::npos)
                hold.erase(0, hold.find('\n') + 1);
            const Bloqueio_Jogo h =
                Bloqueio_Jogo::do_descritor(::openat(pasta, hold.c_str(), O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
            struct stat hs {}, ns {};
            if (h.tomado() && hold.find('/') == std::string::npos && ::fstat(h.descritor(), &hs) == 0 &&
                S_ISREG(hs.st_mode) && hs.st_size == 0 && ::fstatat(pasta, hold.c_str(), &ns, AT_SYMLINK_NOFOLLOW) == 0 &&
                mesmo(hs, ns))
                ::unlinkat(pasta, hold.c_str(), 0);
        }
        ::unlinkat(pasta, nome.c_str(), 0);
    }
}

} // namespace

Obra::Obra(std::shared_ptr<Lugar_Jogo> lugar, int espera_ms)
    : lugar_(std::move(lugar)), base_(lugar_->nome()),
      dono_(Bloqueio_Jogo::tomar_obra(lugar_->pasta(), base_ + A_Criar, lugar_->escolhido(),
                                      marca_de_obra(lugar_->pasta()), espera_ms, &feita_)) {
    ponto_de_falha("obra.tomada");
    if (dono_.tomado() && !marcada(dono_.descritor())) {
        dono_ = Bloqueio_Jogo();   // a file of someone's: left as it is
        throw Erro_BD(ERRO_FICHEIRO, "Ao lado de " + lugar_->caminho() + " está " + base_ + A_Criar,
                      Erro_BD::Tipo::Sobra_Alheia, lugar_->caminho() + A_Criar);
    }
}

Obra::~Obra() {
    // While it is still held, and this window's: where locks are this
    // machine's only, a hold it found there may be another machine's
    // making, until the game's note says the game is this window's.
    if (!feita_ && !lugar_->anotado() && !capacidades(lugar_->pasta()).trincos_partilhados) return;
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
    const bool locais = !capacidades(pasta).trincos_partilhados;
    const std::string deste = alcance_dos_trincos(pasta);
    // The intents and copies of makings killed midway first: the empty hold
    // an intent names goes with it.
    limpar_temporarios(pasta, locais, deste);
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
        const std::optional<std::string> alcance = livre.tomado() ? marca_lida(livre.descritor()) : std::nullopt;
        if (!alcance) continue;
        // Where locks are this machine's only, a making whose window this
        // machine's locks do not reach: its game's note, or its age, says.
        struct stat st {};
        const std::string jogo = hold.substr(0, hold.size() - std::strlen(A_Criar));
        if (locais && *alcance != deste && !nota_deste_alcance(pasta, jogo) &&
            (::fstat(livre.descritor(), &st) != 0 || !velho(st)))
            continue;
        remover_feitos(pasta, jogo);
        remover_comum(pasta, hold);
    }
}

std::string marca_de_obra(int pasta) {
    return std::string(Marca_Obra) + std::string(Alcance) + alcance_dos_trincos(pasta) + "\n";
}

std::string marca_de_obra(const std::string& pasta) {
    std::string m(Marca_Obra);
    pela_pasta(pasta, [&](int fd) { m = marca_de_obra(fd); });
    return m;
}

void limpar_obras_orfas(const std::string& pasta) {
    pela_pasta(pasta, [](int fd) { limpar_obras_orfas(fd); });
}

} // namespace gv::db
