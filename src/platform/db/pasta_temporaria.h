#pragma once
// The temporary folder, where a load looks at a game in private copies
// before anything is written beside the game itself.

#include <filesystem>
#include <string>

namespace gv::db {

class Erro_BD;

// A folder of private copies for one load, in the temporary folder. While
// it lives its owner holds a lock on a file inside it: a folder whose lock
// can be taken was left by a load that was killed. It goes with its owner.
class Copia_Privada {
public:
    // Throws Erro_BD (Pasta_Temporaria, naming the folder and what the
    // system said of it) when the temporary folder cannot take it.
    Copia_Privada();
    ~Copia_Privada();
    Copia_Privada(const Copia_Privada&) = delete;
    Copia_Privada& operator=(const Copia_Privada&) = delete;
    // Copies the file open at `fd` (named `de` in a failure to read it)
    // into the folder as `para` (a relative path), whole; a failure of the
    // copy's side is the temporary folder's, named as such.
    std::string copiar(int fd, const std::string& de, const std::string& para);
    // A failure of the engine's with a copy here: the temporary folder's,
    // with what the system said of it.
    [[noreturn]] void falhou(const Erro_BD& e) const;

private:
    void remover();
    std::filesystem::path pasta_;
    std::string nome_;
    int dono_ = -1;
};

// Removes the folders of private copies left by loads that were killed.
void limpar_copias_orfas();

} // namespace gv::db
