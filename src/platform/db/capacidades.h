#pragma once
// What the file system of a game's folder can do, found out once for each
// mount: known by its kind for the disks of this machine, else tried in the
// folder. The save path's steps that take another way where it cannot are
// in alternativas.h; how a file's names are counted there, in
// nomes_ficheiro.h.

#include <string_view>

namespace gv::db {

struct Capacidades {
    bool anonimos = true;         // a file made with no name, named later by a link (O_TMPFILE)
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

// The folder open at `pasta`'s file system, as found out the first time a
// folder of its mount is asked about, less what a test took away. A mount
// is known by the system's id for it, never by its device number, which a
// later mount may be given again. A try that could not be made (a folder
// that cannot be written, a full disk) is made again at the next asking.
Capacidades capacidades(int pasta);

// For tests: features taken away from every folder, as a file system
// without them has none, and the save path's steps refuse them as such a
// file system does.
enum Capacidade : unsigned {
    Cap_Anonimos = 1,
    Cap_Sem_Substituir = 2,
    Cap_Ligacoes = 4,
    Cap_Esconde_Apagados = 8,   // given, not taken: deleted files are shown hidden
    Cap_Trincos_Partilhados = 16,
    Cap_Tempos_Fieis = 32,
    // Given, not taken: a file's size and first bytes shown late after
    // the window's own writes, as a user-space file system may show them
    // (sshfs, after a second window's open); times untrusted with them.
    Cap_Tamanhos_Tardios = 64,
};
void retirar_capacidades(unsigned quais);
// The names a test gives, comma-separated: anonimos, sem-substituir,
// ligacoes, esconde, trincos, tempos, tardios; 0 for none.
unsigned capacidades_de_nomes(std::string_view nomes);
// Whether a test's file system shows sizes and bytes late.
bool tamanhos_tardios();

} // namespace gv::db
