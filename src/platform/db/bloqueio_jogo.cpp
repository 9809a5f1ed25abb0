#include "platform/db/bloqueio_jogo.h"

#include "platform/db/database.h"
#include "platform/falhas.h"

#include <sqlite3.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <thread>
#include <system_error>

namespace gv::db {

namespace {

// The engine's lock bytes: pending, reserved and the shared range.
constexpr off_t Bytes_Do_Motor = 0x40000000;
constexpr off_t Tamanho_Do_Motor = 2 + 510;
// Ours lies past them, where no engine looks.
constexpr off_t Byte_Do_Jogo = Bytes_Do_Motor + 0x10000;

bool trancar(int fd, short tipo, off_t inicio, off_t tamanho) {
    struct flock l {};
    l.l_type = tipo;
    l.l_whence = SEEK_SET;
    l.l_start = inicio;
    l.l_len = tamanho;
    return ::fcntl(fd, F_OFD_SETLK, &l) == 0;
}

bool ocupado(int erro) { return erro == EACCES || erro == EAGAIN; }

[[noreturn]] void nao_abre(const std::string& caminho) {
    const std::error_code sis(errno, std::generic_category());
    throw Erro_BD(ERRO_FICHEIRO, "Não foi possível abrir " + caminho + ": " + sis.message(), tipo_do_sistema(sis),
                  caminho);
}

// Whether the name still names the file open at fd: a file replaced under
// its name between the open and the lock is held no more by anyone.
bool ainda_o_mesmo(int fd, const std::string& caminho) {
    struct stat aberto {}, nomeado {};
    return ::fstat(fd, &aberto) == 0 && ::stat(caminho.c_str(), &nomeado) == 0 && aberto.st_dev == nomeado.st_dev &&
           aberto.st_ino == nomeado.st_ino;
}

// The game's byte of the file the name names, locked on a descriptor of its
// own; the name looked at again once locked, and all begun again when it
// has been given to another file meanwhile. -1 and errno when it is not
// locked, `ocupado` when another holds it.
int trancar_nome(const std::string& caminho, int flags, bool& ocupada) {
    ocupada = false;
    for (int vez = 0;; ++vez) {
        const int fd = ::open(caminho.c_str(), flags | O_CLOEXEC, 0666);
        if (fd < 0) return -1;
        ponto_de_falha("bloqueio.aberto");
        if (!trancar(fd, F_WRLCK, Byte_Do_Jogo, 1)) {
            const int erro = errno;
            ocupada = ocupado(erro);
            ::close(fd);
            errno = erro;
            return -1;
        }
        if (ainda_o_mesmo(fd, caminho) || vez == 100) return fd;
        ::close(fd);
    }
}

// A file that cannot be opened to be written, or a file system without
// these locks: nothing to tell windows apart by.
bool sem_trincos(int erro, bool escrita) {
    return erro == EINVAL || erro == ENOLCK || erro == EOPNOTSUPP ||
           (escrita && (erro == EACCES || erro == EROFS || erro == EPERM));
}

} // namespace

Bloqueio_Jogo Bloqueio_Jogo::tomar(const std::string& caminho, const std::string& nome) {
    Bloqueio_Jogo b;
    bool ocupada;
    b.fd_ = trancar_nome(caminho, O_RDWR, ocupada);
    if (b.fd_ >= 0) return b;
    const int erro = errno;
    if (!ocupada && (erro == EACCES || erro == EROFS || erro == EPERM)) {
        // A file this window cannot write: another window's hold on it is
        // read, not taken.
        const int fd = ::open(caminho.c_str(), O_RDONLY | O_CLOEXEC);
        ocupada = fd >= 0 && segura_noutra_janela(fd);
        if (fd >= 0) ::close(fd);
        errno = erro;
    }
    if (ocupada)
        throw Erro_BD(SQLITE_BUSY, "O jogo está aberto noutra janela: " + caminho, Erro_BD::Tipo::Noutra_Janela,
                      nome.empty() ? caminho : nome);
    if (sem_trincos(errno, true)) return b;
    nao_abre(caminho);
}

Bloqueio_Jogo Bloqueio_Jogo::tomar_obra(const std::string& obra, const std::string& jogo, int espera_ms) {
    Bloqueio_Jogo b;
    bool ocupada;
    const auto limite = std::chrono::steady_clock::now() + std::chrono::milliseconds(espera_ms);
    for (;;) {
        b.fd_ = trancar_nome(obra, O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK, ocupada);
        if (b.fd_ >= 0) return b;
        if (!ocupada || std::chrono::steady_clock::now() >= limite) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    if (ocupada)
        throw Erro_BD(SQLITE_BUSY, "O jogo está a ser criado noutra janela: " + jogo,
                      Erro_BD::Tipo::Criado_Noutra_Janela, jogo);
    if (sem_trincos(errno, false)) return b;
    nao_abre(obra);
}

bool Bloqueio_Jogo::nomeia(const std::string& caminho) const { return fd_ >= 0 && ainda_o_mesmo(fd_, caminho); }

unsigned Bloqueio_Jogo::nomes() const {
    struct stat st {};
    return fd_ >= 0 && ::fstat(fd_, &st) == 0 ? static_cast<unsigned>(st.st_nlink) : 0;
}

std::string Bloqueio_Jogo::onde_esta() const {
    if (nomes() == 0) return {};
    char ligacao[64], nome[4096];
    std::snprintf(ligacao, sizeof ligacao, "/proc/self/fd/%d", fd_);
    const ssize_t n = ::readlink(ligacao, nome, sizeof nome);
    return n > 0 && static_cast<std::size_t>(n) < sizeof nome ? std::string(nome, static_cast<std::size_t>(n))
                                                              : std::string();
}

bool segura_noutra_janela(int fd) {
    struct flock l {};
    l.l_type = F_WRLCK;
    l.l_whence = SEEK_SET;
    l.l_start = Byte_Do_Jogo;
    l.l_len = 1;
    return ::fcntl(fd, F_OFD_GETLK, &l) == 0 && l.l_type != F_UNLCK;
}

Bloqueio_Jogo Bloqueio_Jogo::se_livre(const std::string& obra) {
    Bloqueio_Jogo b;
    bool ocupada;
    b.fd_ = trancar_nome(obra, O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK, ocupada);
    return b;
}

Bloqueio_Jogo::~Bloqueio_Jogo() {
    if (fd_ >= 0) ::close(fd_);
}

Bloqueio_Jogo& Bloqueio_Jogo::operator=(Bloqueio_Jogo&& o) noexcept {
    if (this != &o) {
        if (fd_ >= 0) ::close(fd_);
        fd_ = o.fd_;
        o.fd_ = -1;
    }
    return *this;
}

void sobra_noutra_janela(const std::string& caminho, const std::string& sobra) {
    throw Erro_BD(SQLITE_BUSY, "Ao lado de " + caminho + " está " + sobra + ", que outra janela escreve",
                  Erro_BD::Tipo::Sobra_Noutra_Janela, sobra);
}

void exigir_sobras_livres(const std::string& caminho) {
    for (const char* sufixo : {"-wal", "-journal"}) {
        const std::string s = caminho + sufixo;
        const int fd = ::open(s.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) continue;
        const bool segura = segura_noutra_janela(fd);
        ::close(fd);
        if (segura) sobra_noutra_janela(caminho, s);
    }
}

Leitura_Partilhada::Leitura_Partilhada(const std::string& caminho) {
    fd_ = ::open(caminho.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd_ < 0) nao_abre(caminho);
    if (!trancar(fd_, F_RDLCK, Bytes_Do_Motor, Tamanho_Do_Motor) && ocupado(errno)) {
        ::close(fd_);
        throw Erro_BD(SQLITE_BUSY, "O ficheiro está a ser usado por outro programa: " + caminho,
                      Erro_BD::Tipo::Bloqueada, caminho);
    }
}

Leitura_Partilhada::~Leitura_Partilhada() { ::close(fd_); }

} // namespace gv::db
