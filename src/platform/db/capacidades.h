#pragma once
// What the file system of a game's folder can do, found out once for each
// file system, and the steps of the save path that depend on it, each with
// its way where the file system cannot: files made with no name, a rename
// that never replaces, hard links, a deleted file kept open under a hidden
// name, locks that reach other machines. Every such call of the save path
// goes through here.

#include <string>
#include <string_view>

#include "platform/db/bloqueio_jogo.h"

namespace gv::db {

struct Capacidades {
    bool sem_nome = true;         // a file made with no name, named later by a link (O_TMPFILE)
    bool sem_substituir = true;   // a rename that refuses a name taken (RENAME_NOREPLACE)
    bool ligacoes = true;         // hard links
    // A file deleted while open is kept, till it is closed, under a hidden
    // name in its folder (FUSE's .fuse_hidden*, the NFS client's .nfs*).
    bool esconde_apagados = false;
    // Its locks are seen by every machine that reaches the folder: a share
    // mounted by a user-space file system (sshfs) has locks of this machine
    // only.
    bool trincos_partilhados = true;
    // A write shows at once in the file's size and times, as the system
    // gives them (not so where times are coarse, as exFAT's, or shown late,
    // as a user-space or network file system's may be).
    bool tempos_fieis = true;
};

// The folder open at `pasta`'s file system, as found out the first time one
// of its folders is asked about, less what a test took away.
Capacidades capacidades(int pasta);

// For tests: features taken away from every folder, as a file system
// without them has none, and the calls below refuse them as such a file
// system does.
enum Capacidade : unsigned {
    Cap_Sem_Nome = 1,
    Cap_Sem_Substituir = 2,
    Cap_Ligacoes = 4,
    Cap_Esconde_Apagados = 8,   // given, not taken: deleted files are shown hidden
    Cap_Trincos_Partilhados = 16,
    Cap_Tempos_Fieis = 32,
};
void retirar_capacidades(unsigned quais);
// The names a test gives, comma-separated: sem-nome, sem-substituir,
// ligacoes, esconde, trincos, tempos; 0 for none.
unsigned capacidades_de_nomes(std::string_view nomes);

// A file made with no name in the folder, to be read and written; -1 and
// errno (EOPNOTSUPP) where the folder cannot make one, or cannot name it
// afterwards.
int criar_sem_nome(int pasta, int modo);
// A new file of the folder under a temporary name of the game's own
// (`.gvnovo-...`), made exclusively and held as the game holds its files:
// the hold, and its name in `nome`; nothing held and errno when it cannot
// be made. The folder's cleaner removes one no window holds
// (limpar_novos_orfaos).
Bloqueio_Jogo criar_temporario(int pasta, std::string& nome);
// The file open at `fd`, made by criar_sem_nome, given the name `nome` in
// the folder, never over a file: 0, or -1 and errno (EEXIST).
int nomear_sem_nome(int fd, int pasta, const std::string& nome);
// The file `de` of the folder under the name `para` instead, never over a
// file that has it (-1, EEXIST). Where no rename refuses a name taken, a
// hard link does, and the old name goes once the new one is given; where
// there are no hard links either, the name is looked at right before the
// rename (a file put there at that very instant may be replaced).
int renomear_sem_substituir(int pasta, const std::string& de, const std::string& para);
// Whether `nome` in the folder is a name its file system gives a file
// deleted while open (never one of the game's).
bool nome_escondido(int pasta, std::string_view nome);
// Whether a name is one such file systems give (FUSE's .fuse_hidden*, the
// NFS client's .nfs*), wherever it is.
bool escondido(std::string_view nome);
// Whether the file open at `fd` in the folder `pasta` (where it was) has
// no name left: none at all, or only a hidden one.
bool sem_nomes(int pasta, int fd);

// Whether a file's name is one of those temporary names.
bool nome_temporario(std::string_view nome);

// How many names the file open at `fd` has, as its file system counts
// them now (one that shows its count late is asked anew).
unsigned nomes_agora(int pasta, int fd);
// The same, less the hidden ones in the folder `pasta`.
unsigned nomes_visiveis(int pasta, int fd);

// The temporary files of the game's own in the folder that no window holds
// (a making or a copy killed midway), gone; for each that carried a
// making's intent (marca + the hold's name) and whose hold is empty and
// free, that hold too.
void limpar_novos_orfaos(int pasta, std::string_view marca);

} // namespace gv::db
