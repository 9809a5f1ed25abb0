#pragma once
// A game being played. Its commits go to a write-ahead log beside the file,
// synced, and each is moved into the file at once; each draws a mark of
// its own and keeps the mark of the commit before it (marca.h), so that a
// log found beside the file after a kill shows whether it continues it.
// When the game closes, the file gets its rollback journal back and the
// log is gone.

#include <string>

#include "platform/db/database.h"
#include "platform/db/marca.h"

namespace gv::db {

// A game file's commits from now on, in its journal's mode, each with a
// mark of its own and the one before it: a journal beside the file after a
// kill shows which state it puts back. Before each, the file's name in its
// folder is looked at; `antes` is what a load did to the file so far.
void marcar_commits(Database& d, Perda antes = Perda::Nada);
// Puts the file in play. Each page a commit changes is then written and
// enciphered once, not twice as with the journal. A file that cannot take
// the log stays with its journal (the failure goes to the error log).
// Entering play draws a mark at once: a copy of this file loaded elsewhere
// parts ways with it here. compactar_antes: the file is compacted on the
// way, in the log with that mark, and one checkpoint moves both into it.
// In play, a file that gets a second name is written anew under its own
// before the next transaction.
void entrar_em_jogo(Database& d, bool compactar_antes = false);
// For a file being made, within its open transaction and before play: a
// mark of its own, with no commit before it.
void marcar_novo(Database& d);
Marca marca_lida(Database& d);
// Moves whatever the log holds into the file and gives it back its
// rollback journal, the log gone: the file alone then holds the game.
// Throws when it cannot.
void sair_do_log(Database& d);
// Whether the log beside the file `caminho` holds a commit the engine
// would play back.
bool log_com_commits(const std::string& caminho);

} // namespace gv::db
