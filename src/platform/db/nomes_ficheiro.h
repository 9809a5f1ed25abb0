#pragma once
// How many names a file has, as its folder's file system counts them: where
// a deleted file is kept open under a hidden name (FUSE, NFS), that name is
// none, and where the count is shown late it is asked anew.

#include <string_view>

namespace gv::db {

// Whether a name is one such file systems give a file deleted while open
// (FUSE's .fuse_hidden*, the NFS client's .nfs*), wherever it is.
bool escondido(std::string_view nome);
// Whether `nome` in the folder is one, there (never one of the game's).
bool nome_escondido(int pasta, std::string_view nome);

// How many names the file open at `fd` has, as its file system counts
// them now (one that shows its count late is asked anew).
unsigned nomes_agora(int pasta, int fd);
// The same, less the hidden ones in the folder `pasta`.
unsigned nomes_visiveis(int pasta, int fd);
// Whether the file open at `fd` in the folder `pasta` (where it was) has
// no name left: none at all, or only a hidden one.
bool sem_nomes(int pasta, int fd);

} // namespace gv::db
