#include "platform/db/bloqueio_jogo.h"

#include "platform/db/database.h"

#include <sqlite3.h>

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
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

} // namespace

Bloqueio_Jogo Bloqueio_Jogo::tomar(const std::string& caminho) {
    Bloqueio_Jogo b;
    b.fd_ = ::open(caminho.c_str(), O_RDWR | O_CLOEXEC);
    if (b.fd_ < 0) {
        if (errno == EACCES || errno == EROFS || errno == EPERM) return b;
        nao_abre(caminho);
    }
    if (!trancar(b.fd_, F_WRLCK, Byte_Do_Jogo, 1)) {
        if (ocupado(errno))
            throw Erro_BD(SQLITE_BUSY, "O jogo está aberto noutra janela: " + caminho, Erro_BD::Tipo::Noutra_Janela,
                          caminho);
        // A file system without these locks: nothing to tell windows apart by.
        ::close(b.fd_);
        b.fd_ = -1;
    }
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
