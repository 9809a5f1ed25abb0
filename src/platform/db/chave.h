#pragma once
// The key of an enciphered file, derived here as the engine derives it from
// the password and the salt the file begins with.

#include <cstddef>
#include <string>

typedef struct evp_md_st EVP_MD;

namespace gv::db::chave {

constexpr std::size_t Tamanho_Sal = 16;
constexpr std::size_t Tamanho = 32;

// The hash of the engine's derivation, which also checks its pages; null
// when the engine's way is not known here.
const EVP_MD* hash();
// The raw key for this password and salt, Tamanho bytes, derived once per
// process (a file's copies share its salt); empty when the engine's way is
// not known here.
std::string bruta(const std::string& senha, const unsigned char* sal);
// A raw key as the engine is handed it, "x'...'", the salt after it when
// given (for a file still to be made, which then begins with that salt).
std::string para_o_motor(const std::string& bruta, const unsigned char* sal = nullptr);
// How many keys were derived so far.
int derivacoes();

} // namespace gv::db::chave
