#include "data/erros.h"

#include <cstdio>
#include <filesystem>

#include "data/estado.h"
#include "platform/db/database.h"

namespace gv {

namespace {

// The failure the person is told of: for a transaction the engine undid,
// what made it undo it.
const std::exception& causa_de(const std::exception& e) {
    if (auto* d = dynamic_cast<const db::Transaccao_Desfeita*>(&e)) return d->causa();
    return e;
}

db::Erro_BD::Tipo tipo_de(const std::exception& e) {
    if (auto* bd = dynamic_cast<const db::Erro_BD*>(&causa_de(e))) return bd->tipo();
    if (auto* fs = dynamic_cast<const std::filesystem::filesystem_error*>(&e)) return db::tipo_do_sistema(fs->code());
    if (auto* sis = dynamic_cast<const std::system_error*>(&e)) return db::tipo_do_sistema(sis->code());
    return db::Erro_BD::Tipo::Geral;
}

} // namespace

std::string Causa_Erro(const std::exception& e) {
    using T = db::Erro_BD::Tipo;
    const T tipo = tipo_de(e);
    switch (tipo) {
    case T::Pasta_Temporaria: {
        // Named as the person would look for it, with what the system said.
        auto* bd = dynamic_cast<const db::Erro_BD*>(&e);
        const std::string p = bd ? bd->ficheiro() : std::string();
        switch (bd ? bd->causa() : T::Geral) {
        case T::Sem_Ficheiro:
            return ingles() ? "The temporary folder \"" + p + "\" does not exist."
                            : "A pasta temporária \"" + p + "\" não existe.";
        case T::Disco_Cheio:
            return ingles() ? "The disk of the temporary folder \"" + p + "\" is full."
                            : "O disco da pasta temporária \"" + p + "\" está cheio.";
        case T::So_Leitura:
            return ingles() ? "The temporary folder \"" + p + "\" is read-only."
                            : "A pasta temporária \"" + p + "\" só pode ser lida.";
        case T::Sem_Permissao:
            return ingles() ? "There is no permission to write to the temporary folder \"" + p + "\"."
                            : "Não há permissão para escrever na pasta temporária \"" + p + "\".";
        default:
            return ingles() ? "The temporary folder \"" + p + "\" could not be used."
                            : "Não foi possível usar a pasta temporária \"" + p + "\".";
        }
    }
    case T::Disco_Cheio: return txt("O disco está cheio.", "The disk is full.");
    case T::So_Leitura:
        return txt("O ficheiro, ou a pasta onde está, só pode ser lido.", "The file, or its folder, is read-only.");
    case T::Sem_Permissao:
        return txt("Não há permissão para escrever no ficheiro, ou na pasta onde está.",
                   "There is no permission to write to the file, or to its folder.");
    case T::Bloqueada:
        return txt("O ficheiro está a ser usado por outro programa.", "The file is in use by another program.");
    case T::Erro_ES: return txt("Houve um erro de leitura ou escrita no disco.", "The disk failed to read or write.");
    case T::Sem_Ficheiro: return txt("O ficheiro não existe.", "The file does not exist.");
    case T::Nao_E_Base:
        return txt("O ficheiro não é um jogo do Golvantario.", "The file is not a Golvantario game.");
    case T::Danificada: return txt("O ficheiro está danificado.", "The file is damaged.");
    case T::Sobra_Alheia:
    case T::Sobra_Danificada: {
        // Named as the person sees it in the game's folder.
        auto* bd = dynamic_cast<const db::Erro_BD*>(&e);
        const std::string nome = bd ? std::filesystem::path(bd->ficheiro()).filename().string() : std::string();
        if (tipo == T::Sobra_Danificada)
            return ingles() ? "The file \"" + nome + "\" beside the game is damaged. Move it to another folder and "
                                                     "open the game again: it opens without what that file held."
                            : "O ficheiro \"" + nome + "\" ao lado do jogo está danificado. Mova-o para outra pasta "
                                                       "e abra o jogo de novo: abre sem o que esse ficheiro guardava.";
        return ingles() ? "The file \"" + nome + "\" beside the game does not belong to it. Move it to another "
                                                 "folder and open the game again."
                        : "O ficheiro \"" + nome + "\" ao lado do jogo não pertence a este jogo. Mova-o para "
                                                   "outra pasta e abra o jogo de novo.";
    }
    case T::Geral: break;
    }
    return txt("Ocorreu um erro inesperado.", "An unexpected error occurred.");
}

void Registar_Erro(const std::exception& e) {
    if (auto* bd = dynamic_cast<const db::Erro_BD*>(&causa_de(e)))
        std::fprintf(stderr, "golvantario: erro %d: %s\n", bd->numero(), bd->descricao().c_str());
    else
        std::fprintf(stderr, "golvantario: %s\n", e.what());
}

std::string Linha_Causa(const std::exception& e) {
    Registar_Erro(e);
    return "\n" + Causa_Erro(e);
}

const char* Jogo_Inalterado() { return txt("O ficheiro do jogo não foi alterado.", "The game file is unchanged."); }

std::string Texto_Erro_Numerado(const std::exception& e) {
    Registar_Erro(e);
    int numero = 0;
    if (auto* bd = dynamic_cast<const db::Erro_BD*>(&causa_de(e))) numero = bd->numero();
    return (ingles() ? "Error Nº : " : "Erro Nº : ") + std::to_string(numero) +
           (ingles() ? " - Description : " : " - Descrição : ") + Causa_Erro(e);
}

} // namespace gv
