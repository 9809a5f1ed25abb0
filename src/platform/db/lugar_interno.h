#pragma once
// Shared between the rooms of a game's place (lugar*.cpp, paradeiro.cpp,
// vigia.cpp); not for callers.

#include <memory>
#include <string>

#include <sys/stat.h>

struct sqlite3_vfs;

namespace gv::db {

class Lugar_Jogo;

// Whether two files are one.
inline bool mesmo(const struct stat& a, const struct stat& b) { return a.st_dev == b.st_dev && a.st_ino == b.st_ino; }
// The file `nome` of the folder removed, only while it is the file `quem`.
void apagar_se(int pasta, const std::string& nome, const struct stat& quem);
// The place whose folder is open at `pasta`, while it lives.
std::shared_ptr<Lugar_Jogo> lugar_da_pasta(int pasta);
// The watch put between the engine and the system's writes, truncations
// and closes (vigia.cpp); the engine's descriptor `fd` of the place's file
// (qual 0) or log (1) watched from its opening to its closing.
bool instalar_vigia(sqlite3_vfs* unix_);
void vigiar_descritor(int fd, const std::shared_ptr<Lugar_Jogo>& lugar, int qual);
void esquecer_descritor(int fd);

} // namespace gv::db
