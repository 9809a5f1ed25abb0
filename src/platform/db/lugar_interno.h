#pragma once
// Shared between the rooms of a game's place (lugar*.cpp, paradeiro.cpp,
// vigia.cpp); not for callers.

#include <memory>
#include <string>

#include <sys/stat.h>

namespace gv::db {

class Lugar_Jogo;

// Whether two files are one.
inline bool mesmo(const struct stat& a, const struct stat& b) { return a.st_dev == b.st_dev && a.st_ino == b.st_ino; }
// The file `nome` of the folder removed, only while it is the file `quem`.
void apagar_se(int pasta, const std::string& nome, const struct stat& quem);
// The place whose folder is open at `pasta`, while it lives.
std::shared_ptr<Lugar_Jogo> lugar_da_pasta(int pasta);

} // namespace gv::db
