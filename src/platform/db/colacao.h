#pragma once
// A person's alphabetical order for names, as the engine's collation "NOME".

#include <string>
#include <string_view>

namespace gv::db {

// A person's alphabetical comparison: case- and accent-insensitive
// (UTF-8). Returns <0, 0, >0. Registered as the collation "NOME".
int comparar_nomes(std::string_view a, std::string_view b);
// Folded key used by comparar_nomes (lower case, accents removed).
std::string chave_nome(const std::string& s);

} // namespace gv::db
