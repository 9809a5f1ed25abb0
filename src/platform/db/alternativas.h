#pragma once
// The save path's steps that depend on what the folder's file system can do
// (capacidades.h), each with its way where the file system cannot: a file
// made with no name and named once whole, a rename that never replaces, a
// file of the game's own under a temporary name.

#include <string>
#include <string_view>

#include "platform/db/bloqueio_jogo.h"

namespace gv::db {

// A file made with no name in the folder, to be read and written; -1 and
// errno (EOPNOTSUPP) where the folder cannot make one, or cannot name it
// afterwards.
int criar_anonimo(int pasta, int modo);
// The file open at `fd`, made by criar_anonimo, given the name `nome` in
// the folder, never over a file: 0, or -1 and errno (EEXIST).
int nomear_anonimo(int fd, int pasta, const std::string& nome);

// A temporary name of the game's own in the folder (`.gvnovo-...`), that no
// other window gives: it carries what this window's locks reach
// (maquina.h), so that a cleaner on a share tells its own machine's from
// another's.
std::string novo_nome_temporario(int pasta);
// A new file of the folder under such a name, made exclusively and held as
// the game holds its files: the hold, and its name in `nome`; nothing held
// and errno when it cannot be made. The folder's cleaner (obras.h) removes
// one no window holds.
Bloqueio_Jogo criar_temporario(int pasta, std::string& nome);
// Whether a file's name is one of those temporary names; and whether it is
// one a window whose locks reach as `alcance` says gave (maquina.h).
bool nome_temporario(std::string_view nome);
bool temporario_do_alcance(std::string_view nome, std::string_view alcance);

// The file `de` of the folder under the name `para` instead, never over a
// file that has it (-1, EEXIST). Where no rename refuses a name taken, a
// hard link does, and the old name goes once the new one is given; where
// there are no hard links either, the name is looked at right before the
// rename (a file put there at that very instant may be replaced).
int renomear_sem_substituir(int pasta, const std::string& de, const std::string& para);

} // namespace gv::db
