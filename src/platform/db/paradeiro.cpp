// Where a game is once its file lost its name: the file under another
// name, or a copy of it, whole with its log, saved beside where it was, and
// found where it is each time it is told.

#include "platform/db/lugar.h"

#include "platform/db/alternativas.h"
#include "platform/db/capacidades.h"
#include "platform/db/nomes_ficheiro.h"
#include "platform/db/interno.h"
#include "platform/db/lugar_interno.h"
#include "platform/falhas.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <utility>
#include <string_view>

namespace fs = std::filesystem;

namespace gv::db {

namespace {

// The file open at `de` copied whole, synced, into a new file `nome` of the
// folder, made without a name (or, where the folder cannot, under a
// temporary name of the game's own) and named only once whole, so that a
// kill midway leaves nothing under it: its descriptor; -1 with EEXIST when
// a file has that name already (never written over), or with the cause
// when it could not be made whole (nothing left of it).
int copiar(int pasta, int de, const std::string& nome) {
    std::string temporario;
    Bloqueio_Jogo feita;
    int fd = criar_anonimo(pasta, 0644);
    if (fd < 0 && errno != EOPNOTSUPP) return -1;
    if (fd < 0) {
        feita = criar_temporario(pasta, temporario);
        if (!feita.tomado()) return -1;
        // Held while it is made, so that no cleaner takes it; what is kept
        // of it is not held.
        fd = reabrir(feita.descritor(), O_RDWR);
        if (fd < 0) return ::unlinkat(pasta, temporario.c_str(), 0), -1;
    }
    bool inteira = true;
    try {
        inteira = copiar_inteiro(de, fd) == Copiado::Inteiro;
    } catch (const std::exception&) {
        inteira = false;   // a read that failed, as a test makes it
        errno = EIO;
    }
    inteira = inteira && ::fsync(fd) == 0;
    if (inteira) {
        ponto_de_falha("copiar.nomear");
        inteira = (temporario.empty() ? nomear_anonimo(fd, pasta, nome)
                                      : renomear_sem_substituir(pasta, temporario, nome)) == 0;
    }
    if (!inteira) {
        const int erro = errno;
        if (!temporario.empty()) ::unlinkat(pasta, temporario.c_str(), 0);
        ::close(fd);
        errno = erro;
        return -1;
    }
    return fd;
}

// The path the system has for what is open at fd, less the mark of one
// with no name left; empty when it does not say.
std::string caminho_do_descritor(int fd) {
    char ligacao[64], nome[4096];
    std::snprintf(ligacao, sizeof ligacao, "/proc/self/fd/%d", fd);
    const ssize_t n = ::readlink(ligacao, nome, sizeof nome);
    if (n <= 0 || static_cast<std::size_t>(n) >= sizeof nome) return {};
    std::string p(nome, static_cast<std::size_t>(n));
    constexpr std::string_view apagada = " (deleted)";
    if (p.size() > apagada.size() && p.compare(p.size() - apagada.size(), apagada.size(), apagada) == 0)
        p.resize(p.size() - apagada.size());
    return p;
}

// Where the file open at fd is now: under another name in the folder open
// at `pasta`, or where the system finds it, checked; empty when it has no
// name left.
std::string achar(int pasta, int fd) {
    struct stat f {}, n {};
    if (::fstat(fd, &f) != 0 || sem_nomes(pasta, fd)) return {};
    std::string achado;
    if (DIR* d = ::fdopendir(::openat(pasta, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC))) {
        while (const dirent* e = ::readdir(d))
            if (e->d_ino == f.st_ino && !nome_escondido(pasta, e->d_name) &&
                ::fstatat(pasta, e->d_name, &n, AT_SYMLINK_NOFOLLOW) == 0 && mesmo(n, f)) {
                achado = e->d_name;
                break;
            }
        ::closedir(d);
    }
    if (!achado.empty()) return (fs::path(caminho_do_descritor(pasta)) / achado).string();
    const std::string onde = caminho_do_descritor(fd);
    return !onde.empty() && !nome_escondido(pasta, fs::path(onde).filename().string()) &&
                   ::stat(onde.c_str(), &n) == 0 && mesmo(n, f)
               ? onde
               : std::string();
}

// A folder with no name left: deleted, or moved to another disk.
bool pasta_perdida(int pasta) {
    struct stat st {};
    return ::fstat(pasta, &st) == 0 && st.st_nlink == 0;
}

} // namespace

Copiado copiar_inteiro(int de, int para) {
    struct stat origem {};
    if (::fstat(de, &origem) != 0) return Copiado::Leitura_Falhou;
    std::vector<char> bloco(1 << 16);
    for (off_t onde = 0; onde < origem.st_size;) {
        ponto_de_falha("copiar.ler");
        const auto quer = static_cast<std::size_t>(std::min<off_t>(static_cast<off_t>(bloco.size()), origem.st_size - onde));
        errno = 0;
        if (ler_em(de, bloco.data(), quer, onde) != quer) return errno = errno ? errno : EIO, Copiado::Leitura_Falhou;
        for (std::size_t feito = 0; feito < quer;) {
            const ssize_t w = ::pwrite(para, bloco.data() + feito, quer - feito, onde + static_cast<off_t>(feito));
            if (w < 0 && errno == EINTR) continue;
            if (w <= 0) return errno = w < 0 ? errno : ENOSPC, Copiado::Escrita_Falhou;
            feito += static_cast<std::size_t>(w);
        }
        onde += static_cast<off_t>(quer);
    }
    return Copiado::Inteiro;
}

Erro_BD Lugar_Jogo::perdido(Perda perda) {
    Erro_BD e = ficheiro_movido(caminho_);
    e.com_paradeiro(perda, [eu = shared_from_this(), perda] { return eu->paradeiro(perda); });
    return e;
}

std::string Lugar_Jogo::pasta_agora() const {
    const std::string p = caminho_do_descritor(pasta_);
    return p.empty() ? fs::path(caminho_).parent_path().string() : p;
}

std::string Lugar_Jogo::outro_nome() const {
    if (!ficheiro_.tomado()) return {};
    if (nomeia()) return (fs::path(pasta_agora()) / nome_).string();
    return achar(pasta_, ficheiro_.descritor());
}

int Lugar_Jogo::pasta_da_copia() const {
    if (!pasta_perdida(pasta_)) return ::fcntl(pasta_, F_DUPFD_CLOEXEC, 0);
    // The folder the game's path names now, if there is one to write in;
    // else the player's own.
    const std::string junto = fs::path(caminho_).parent_path().string();
    const int fd = ::open(junto.empty() ? "." : junto.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0 && !pasta_perdida(fd) && ::faccessat(fd, ".", W_OK | X_OK, AT_EACCESS) == 0) return fd;
    if (fd >= 0) ::close(fd);
    std::error_code ec;
    fs::create_directories(pasta_dados(), ec);
    return ::open(pasta_dados().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
}

bool Lugar_Jogo::guardar_copia(int pasta) {
    if (!ficheiro_.tomado()) return false;
    // What the log holds past the file goes with it, so that the two read
    // as the game read; named first, so that the copy never has its name
    // without it.
    const bool com_log = log_com_commits();
    const fs::path p(nome_);
    for (int n = 2; n < 100; ++n) {
        const std::string nome = p.stem().string() + " (" + std::to_string(n) + ")" + p.extension().string();
        int log = -1;
        if (com_log) {
            log = copiar(pasta, ao_lado_[Log].descritor(), nome + Sufixos[Log]);
            if (log < 0 && errno == EEXIST) continue;
            if (log < 0) return erro_copia_ = errno, false;
        }
        const int fd = copiar(pasta, ficheiro_.descritor(), nome);
        const int erro = errno;
        if (log >= 0) {
            struct stat st {};
            if (fd < 0 && ::fstat(log, &st) == 0) apagar_se(pasta, nome + Sufixos[Log], st);   // made here: nobody else's
            ::close(log);
        }
        if (fd < 0 && erro == EEXIST) continue;
        if (fd < 0) return erro_copia_ = erro, false;
        ::fsync(pasta);
        copia_ = fd;
        copia_vista_.tomar(fd);
        pasta_copia_ = ::fcntl(pasta, F_DUPFD_CLOEXEC, 0);
        nome_copia_ = nome;
        return true;
    }
    erro_copia_ = EEXIST;
    return false;
}

std::string Lugar_Jogo::onde_copia() {
    struct stat c {}, n {};
    // Gone, or written over in place by another program: the game is not there.
    if (copia_ < 0 || ::fstat(copia_, &c) != 0 || sem_nomes(pasta_copia_, copia_) || !copia_intacta()) return {};
    if (::fstatat(pasta_copia_, nome_copia_.c_str(), &n, AT_SYMLINK_NOFOLLOW) == 0 && mesmo(n, c))
        return (fs::path(caminho_do_descritor(pasta_copia_)) / nome_copia_).string();
    return achar(pasta_copia_, copia_);
}

bool Lugar_Jogo::copia_intacta() { return copia_ < 0 || copia_vista_.olhar(copia_, vigia_.fieis()); }

bool Lugar_Jogo::dizer_de_novo() {
    return std::exchange(de_parte_por_dizer_, false) || copia_por_fazer_ || (copia_ >= 0 && onde_copia() != dito_);
}

Paradeiro Lugar_Jogo::paradeiro(Perda perda) {
    Paradeiro p;
    struct stat f {}, n {}, c {};
    const bool visto = ficheiro_.tomado() && ::fstat(ficheiro_.descritor(), &f) == 0;
    p.apagado = visto && sem_nomes(pasta_, ficheiro_.descritor());
    // The copy put back under the game's name is no other file.
    p.nome_ocupado = ::fstatat(pasta_, nome_.c_str(), &n, AT_SYMLINK_NOFOLLOW) == 0 && !(visto && mesmo(f, n)) &&
                     !(copia_ >= 0 && ::fstat(copia_, &c) == 0 && mesmo(c, n));
    p.pasta_perdida = pasta_perdida(pasta_);
    p.pasta = pasta_agora();
    if (!visto || perda == Perda::Nada) return p;
    // The file itself, when it holds everything.
    if (copia_ < 0 && !log_com_commits())
        if (std::string onde = outro_nome(); !onde.empty()) {
            p.onde = Paradeiro::Onde::Nome;
            p.caminho = onde;
            return p;
        }
    // The copy, where it is now; made again when it is gone.
    std::string onde = onde_copia();
    if (onde.empty()) {
        if (copia_ >= 0) ::close(copia_), ::close(pasta_copia_);
        copia_ = pasta_copia_ = -1;
        const int pasta = pasta_da_copia();
        if (pasta < 0) erro_copia_ = errno;
        copia_por_fazer_ = pasta < 0 || !guardar_copia(pasta);
        p.caminho = pasta < 0 ? pasta_dados() : caminho_do_descritor(pasta);
        if (pasta >= 0) ::close(pasta);
        if (copia_por_fazer_) {
            p.erro = erro_copia_;
            return p;
        }
        onde = onde_copia();
    }
    p.onde = Paradeiro::Onde::Copia;
    p.caminho = dito_ = onde;
    return p;
}

} // namespace gv::db
