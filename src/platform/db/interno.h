#pragma once
// Shared between the sources of the database layer; not for callers.
#include "platform/db/database.h"

namespace gv::db {
Valor ler_coluna(sqlite3_stmt* st, int i);
void ligar_valores(sqlite3_stmt* st, const Parametros& p, Database& d);
// A failure nobody is waiting for (a checkpoint, a mode, a close) goes to
// the error log, as the game's own failures do.
void registar(int rc, const std::string& o_que, sqlite3* db);
// Sets a setting back as it was when the scope ends, however it ends.
struct Repor_Pragma {
    sqlite3* db;
    std::string sql;   // empty: nothing to set back
    ~Repor_Pragma();
};
} // namespace gv::db
