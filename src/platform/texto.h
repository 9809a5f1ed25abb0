#pragma once
// Small text helpers for names held in UTF-8.

#include <string>

namespace gv {

// Capitals, accents kept ("Académico" -> "ACADÉMICO"), for the Latin letters.
std::string maiusculas(const std::string& s);
// Number of characters (code points), not bytes.
int n_caracteres(const std::string& s);
// Leading and trailing blanks removed.
std::string aparar(const std::string& s);
// Money as the game shows it: "#,##0".
std::string formatar_dinheiro(long long v);

} // namespace gv
