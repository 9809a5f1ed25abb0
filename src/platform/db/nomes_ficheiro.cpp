// A file's names, as its folder's file system counts them.

#include "platform/db/nomes_ficheiro.h"

#include "platform/db/capacidades.h"
#include "platform/db/lugar_interno.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <string>

namespace gv::db {

namespace {
// The names a file deleted while open is kept under: FUSE's, and the NFS
// client's.
constexpr std::string_view Escondidos[] = {".fuse_hidden", ".nfs"};
} // namespace

bool escondido(std::string_view nome) {
    for (std::string_view e : Escondidos)
        if (nome.substr(0, e.size()) == e) return true;
    return false;
}

bool nome_escondido(int pasta, std::string_view nome) {
    return escondido(nome) && capacidades(pasta).esconde_apagados;
}

unsigned nomes_agora(int pasta, int fd) {
    struct stat f {};
    if (::fstat(fd, &f) != 0) return 0;
    if (!capacidades(pasta).esconde_apagados) return static_cast<unsigned>(f.st_nlink);
    // A user-space file system's count, asked of it now: the one the
    // system keeps may be a second old, and miss a name just given.
    struct statx x {};
    return ::statx(fd, "", AT_EMPTY_PATH | AT_STATX_FORCE_SYNC, STATX_NLINK, &x) == 0 ? x.stx_nlink
                                                                                       : static_cast<unsigned>(f.st_nlink);
}

unsigned nomes_visiveis(int pasta, int fd) {
    struct stat f {}, n {};
    if (::fstat(fd, &f) != 0) return 0;
    f.st_nlink = nomes_agora(pasta, fd);
    if (f.st_nlink == 0 || !capacidades(pasta).esconde_apagados) return static_cast<unsigned>(f.st_nlink);
    // The count such a file system gives may lag behind a name given or
    // hidden an instant ago: the folder's own names are counted too.
    nlink_t escondidos = 0, visiveis = 0;
    if (DIR* d = ::fdopendir(::openat(pasta, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC))) {
        while (const dirent* e = ::readdir(d)) {
            const std::string_view nome(e->d_name);
            if (nome == "." || nome == ".." || ::fstatat(pasta, e->d_name, &n, AT_SYMLINK_NOFOLLOW) != 0 || !mesmo(n, f))
                continue;
            ++(escondido(nome) ? escondidos : visiveis);
        }
        ::closedir(d);
    }
    return static_cast<unsigned>(std::max(visiveis, escondidos >= f.st_nlink ? 0 : f.st_nlink - escondidos));
}

bool sem_nomes(int pasta, int fd) {
    struct stat f {};
    return ::fstat(fd, &f) == 0 && nomes_visiveis(pasta, fd) == 0;
}

} // namespace gv::db
