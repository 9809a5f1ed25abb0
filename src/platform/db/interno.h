#pragma once
// Shared between the database and recordset sources; not for callers.
#include "platform/db/database.h"

namespace gv::db {
Valor ler_coluna(sqlite3_stmt* st, int i);
void ligar_valores(sqlite3_stmt* st, const Parametros& p, Database& d);
} // namespace gv::db
