#include "data/erros.h"

#include <cerrno>
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

// The failure told of, when it is the database layer's.
const db::Erro_BD* erro_bd(const std::exception& e) { return dynamic_cast<const db::Erro_BD*>(&causa_de(e)); }

// The file a failure is about, as the person sees it in its folder: with
// the folder when it is not beside the game as the player chose it.
std::string nome_de(const std::exception& e) {
    auto* bd = erro_bd(e);
    if (!bd) return {};
    return bd->com_pasta() ? bd->ficheiro() : std::filesystem::path(bd->ficheiro()).filename().string();
}

// A game file moved, replaced or deleted while it was open: what happened,
// and where what was played is now, as things stand as it is told;
// `ao_fechar`, told as the game closes (or a load is refused).
std::string texto_movido(const db::Erro_BD& e, bool ao_fechar = false) {
    const std::string nome = std::filesystem::path(e.ficheiro()).filename().string();
    const db::Paradeiro p = e.paradeiro();
    using O = db::Paradeiro::Onde;
    // Before anything was written to it: only what happened.
    if (e.perda() == db::Perda::Nada) {
        if (p.nome_ocupado)
            return ingles() ? "The file \"" + nome + "\" was moved, renamed or replaced by another program while "
                              "Golvantario was using it; nothing was written to the file that has that name now."
                            : "O ficheiro \"" + nome + "\" foi movido, mudou de nome ou foi substituído por outro "
                              "programa enquanto o Golvantario o usava; nada foi escrito no ficheiro que tem agora "
                              "esse nome.";
        return ingles() ? "The file \"" + nome + "\" was moved, renamed or deleted by another program while "
                          "Golvantario was using it; nothing was written to it."
                        : "O ficheiro \"" + nome + "\" foi movido, mudou de nome ou foi apagado por outro programa "
                          "enquanto o Golvantario o usava; nada foi escrito nele.";
    }
    const bool a_abrir = e.perda() == db::Perda::Lido;
    ao_fechar = ao_fechar || a_abrir;
    const bool copia = p.onde == O::Copia;
    // One sentence a fact, each in the game's language.
    const std::string onde = "\"" + p.caminho + "\"";
    const char* enquanto = a_abrir ? txt(" enquanto o jogo era aberto", " while the game was being opened")
                                   : txt(" enquanto o jogo estava aberto", " while the game was open");
    std::string r = p.pasta_perdida
                        ? txt("A pasta do jogo \"", "The game's folder \"") + p.pasta +
                              txt("\" foi movida ou apagada", "\" was moved or deleted") + enquanto + ". "
                        : txt("O ficheiro do jogo \"", "The game's file \"") + nome + txt("\" foi ", "\" was ") +
                              (!p.apagado ? txt("movido ou mudou de nome", "moved or renamed")
                               : p.nome_ocupado ? txt("substituído ou apagado", "replaced or deleted")
                                                : txt("apagado", "deleted")) +
                              enquanto +
                              (p.nome_ocupado ? txt("; o ficheiro que tem agora esse nome não foi tocado. ",
                                                    "; the file that has that name now was not touched. ")
                                              : ". ");
    if (p.onde == O::Nenhum) {
        r += txt("Não foi possível guardar o que jogou num ficheiro próprio na pasta ",
                 "What you played could not be saved in a file of its own in the folder ") + onde;
        // A folder moved to another disk took the game with it, as it was
        // then: what is known is said, never that all is lost.
        const char* movida = txt(" Se a pasta foi movida, o jogo que lá está tem o que jogou até ela ser movida.",
                                 " If the folder was moved, the game in it holds what you played until it was "
                                 "moved.");
        if (ao_fechar && p.pasta_perdida)
            return r + txt(". O resto não ficou em nenhum ficheiro.", ". The rest is in no file.") + movida;
        if (ao_fechar) return r + txt(", e perdeu-se.", ", and is lost.");
        r += txt(". Nesta janela nada mais é gravado; o jogo tenta de novo a cada acção e quando sair do jogo",
                 ". Nothing more is saved in this window; the game tries again at each action and when you leave "
                 "the game");
        if (p.pasta_perdida) {
            if (p.erro == ENOSPC || p.erro == EDQUOT)
                r += txt(": liberte espaço nesse disco antes de sair", ": free some space on that disk before you leave");
            else if (p.erro == EACCES || p.erro == EPERM || p.erro == EROFS)
                r += txt(": permita a escrita nessa pasta antes de sair", ": allow writing in that folder before you leave");
            return r + "." + movida;
        }
        // What the player can do, only where it is the cause.
        if (p.erro == ENOSPC || p.erro == EDQUOT)
            return r + txt(": liberte espaço nesse disco antes de sair, ou o que jogou perde-se.",
                           ": free some space on that disk before you leave, or what you played is lost.");
        if (p.erro == EACCES || p.erro == EPERM || p.erro == EROFS)
            return r + txt(": permita a escrita nessa pasta antes de sair, ou o que jogou perde-se.",
                           ": allow writing in that folder before you leave, or what you played is lost.");
        return r + txt("; se então ainda não puder, o que jogou perde-se.",
                       "; if it still cannot then, what you played is lost.");
    }
    r += copia ? txt("Tudo o que jogou até aqui foi guardado em ", "Everything you played until now was saved in ") + onde
               : txt("Tudo o que jogou até aqui está gravado nele, agora em ",
                     "Everything you played until now is saved in it, now at ") + onde;
    const char* abrir = copia ? txt("esse ficheiro", "that file") : txt("o jogo aí", "it there");
    if (ao_fechar) return r + txt(". Para continuar, abra ", ". To go on, open ") + abrir + ".";
    return r + txt(". Nesta janela nada mais é gravado: saia do jogo e abra ",
                   ". Nothing more is saved in this window: leave the game and open ") + abrir +
           txt(" para continuar.", " to go on.");
}

// Another program wrote into the game's file, or its log, while it was
// open: what it holds now, and what of the window's play is in no file.
// When another program's write was found: in play, as the game closes,
// or as it was being opened.
enum class Quando { Em_Jogo, Ao_Fechar, Ao_Abrir };

std::string texto_alterado(const db::Erro_BD& e, Quando quando) {
    const std::string nome = std::filesystem::path(e.ficheiro()).filename().string();
    const bool log = nome.size() > 4 && nome.compare(nome.size() - 4, 4, "-wal") == 0;
    const bool abrir = quando == Quando::Ao_Abrir;
    std::string r = (log ? txt("O ficheiro \"", "The file \"") + nome + txt("\" ao lado do jogo", "\" beside the game")
                         : txt("O ficheiro do jogo \"", "The game's file \"") + nome + "\"") +
                    (abrir ? txt(" foi alterado por outro programa enquanto o jogo era aberto",
                                 " was changed by another program while the game was being opened")
                           : txt(" foi alterado por outro programa enquanto o jogo estava aberto",
                                 " was changed by another program while the game was open")) +
                    (e.partes_de_ambos()
                         ? txt(", no mesmo instante em que esta janela lá escrevia: pode ter partes do que cada um lá "
                               "escreveu, e já não abrir. ",
                               ", in the very instant this window was writing to it: it may hold parts of what each "
                               "wrote, and may no longer open. ")
                         : txt(": tem agora o que esse programa lá escreveu, e esta janela não lhe tocou. ",
                               ": it now holds what that program wrote, untouched by this window. "));
    if (!e.posto_de_parte().empty())
        r += txt("Foi posto de parte como \"", "It was set aside as \"") + e.posto_de_parte() +
             txt("\", para que o jogo abra sem ele. ", "\", so that the game opens without it. ");
    if (abrir)
        return r + (log ? txt("Nada do que esse programa lá escreveu foi passado para o ficheiro do jogo. ",
                              "Nothing that program wrote there was moved into the game's file. ")
                        : "") +
               txt("Para abrir o que lá está, abra o jogo de novo.", "To open what it holds now, open the game again.");
    r += log && e.ficheiro_a_meio()
             ? txt("O ficheiro do jogo estava a receber o que esse ficheiro tinha, e ficou só com parte: pode já não "
                   "abrir. ",
                   "The game's file was taking in what that file held, and took only part of it: it may no longer "
                   "open. ")
         : log && e.log_por_passar()
             ? txt("O ficheiro do jogo tem o que jogou até à última acção que lá foi passada; o que jogou depois "
                   "disso estava nesse ficheiro, e não ficou em nenhum. ",
                   "The game's file holds what you played up to the last action moved into it; what you played "
                   "after that was in that file, and is in none now. ")
         : log ? txt("O que jogou até à última acção gravada está no ficheiro do jogo. ",
                     "What you played up to the last action saved is in the game's file. ")
             : txt("O que jogou nesta janela não ficou em nenhum ficheiro, a não ser que o que lá foi escrito já o "
                   "tivesse. ",
                   "What you played in this window is in no file, unless what was written there already held it. ");
    if (quando == Quando::Ao_Fechar)
        return r + txt("Para continuar a partir do que lá está, abra o jogo de novo.",
                       "To go on from what it holds now, open the game again.");
    return r + txt("Nesta janela nada mais é gravado: saia do jogo e abra-o de novo para continuar a partir do que "
                   "lá está.",
                   "Nothing more is saved in this window: leave the game and open it again to go on from what it "
                   "holds now.");
}

db::Erro_BD::Tipo tipo_de(const std::exception& e) {
    if (auto* bd = erro_bd(e)) return bd->tipo();
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
        auto* bd = erro_bd(e);
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
        case T::Erro_ES:
            return ingles() ? "The disk of the temporary folder \"" + p + "\" failed to read or write."
                            : "Houve um erro de leitura ou escrita no disco da pasta temporária \"" + p + "\".";
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
    case T::Bloqueada: {
        const std::string nome = nome_de(e);
        if (nome.empty())
            return txt("O ficheiro está a ser usado por outro programa.", "The file is in use by another program.");
        return ingles() ? "The file \"" + nome + "\" is in use by another program."
                        : "O ficheiro \"" + nome + "\" está a ser usado por outro programa.";
    }
    case T::Noutra_Janela: {
        const std::string nome = nome_de(e);
        const std::string nota = erro_bd(e) ? erro_bd(e)->nota() : std::string();
        // Told by the note of a window this one's hold does not reach (the
        // share mounted twice on this computer): it may have ended.
        const std::string se_acabou =
            nota.empty() ? std::string()
                         : ingles() ? " If no window has it open, delete the file \"" + nota +
                                          "\" beside the game and open it again."
                                    : " Se nenhuma janela o tem aberto, apague o ficheiro \"" + nota +
                                          "\" ao lado do jogo e abra-o de novo.";
        return (ingles() ? "The game \"" + nome + "\" is open in another window of Golvantario. Close it there first."
                         : "O jogo \"" + nome + "\" está aberto noutra janela do Golvantario. Feche-o lá primeiro.") +
               se_acabou;
    }
    case T::Noutra_Maquina: {
        const std::string nome = nome_de(e), maquina = erro_bd(e)->maquina(), nota = erro_bd(e)->nota();
        return ingles() ? "The game \"" + nome + "\" is open in Golvantario on another computer (\"" + maquina +
                              "\"). Close it there first. If that computer no longer has it open (it was switched off "
                              "without closing it), delete the file \"" + nota + "\" beside the game and open it again."
                        : "O jogo \"" + nome + "\" está aberto no Golvantario noutro computador (\"" + maquina +
                              "\"). Feche-o lá primeiro. Se esse computador já não o tem aberto (foi desligado sem o "
                              "fechar), apague o ficheiro \"" + nota + "\" ao lado do jogo e abra-o de novo.";
    }
    case T::Criado_Noutra_Janela: {
        const std::string nome = nome_de(e);
        return ingles() ? "The game \"" + nome + "\" is being made in another window of Golvantario. Wait for it "
                          "there, or choose another name."
                        : "O jogo \"" + nome + "\" está a ser criado noutra janela do Golvantario. Espere que fique "
                          "pronto nessa janela, ou escolha outro nome.";
    }
    case T::Sobra_Noutra_Janela: {
        const std::string nome = nome_de(e);
        return ingles() ? "The file \"" + nome + "\" beside the game is being written by another window of "
                          "Golvantario, which has open the game that had this name before. Close the game in that "
                          "window first."
                        : "O ficheiro \"" + nome + "\" ao lado do jogo está a ser escrito por outra janela do "
                          "Golvantario, que tem aberto o jogo que antes tinha este nome. Feche o jogo nessa janela "
                          "primeiro.";
    }
    case T::Ficheiro_Movido: return texto_movido(*erro_bd(e));
    case T::Ficheiro_Alterado: return texto_alterado(*erro_bd(e), Quando::Em_Jogo);
    case T::Ligacoes_Em_Circulo: {
        const std::string nome = nome_de(e);
        return ingles() ? "The path \"" + nome + "\" goes through links that lead to each other in a circle, and "
                          "reaches no file."
                        : "O caminho \"" + nome + "\" passa por ligações que levam umas às outras em círculo, e não "
                          "chega a nenhum ficheiro.";
    }
    case T::Nome_De_Obra:
    case T::Nome_Ao_Lado: {
        const std::string nome = nome_de(e);
        if (tipo == T::Nome_Ao_Lado)
            return ingles() ? "The name \"" + nome + "\" ends like the files Golvantario puts beside a game while "
                              "it is played. Choose another name."
                            : "O nome \"" + nome + "\" acaba como os ficheiros que o Golvantario põe ao lado de um "
                              "jogo enquanto o joga. Escolha outro nome.";
        return ingles() ? "The name \"" + nome + "\" ends like the files Golvantario puts beside a game while it "
                          "makes it. Choose another name."
                        : "O nome \"" + nome + "\" acaba como os ficheiros que o Golvantario põe ao lado de um jogo "
                          "enquanto o cria. Escolha outro nome.";
    }
    case T::Sem_Pasta: {
        auto* bd = erro_bd(e);
        const std::string p = bd ? bd->ficheiro() : std::string();
        return ingles() ? "The folder \"" + p + "\" does not exist." : "A pasta \"" + p + "\" não existe.";
    }
    case T::Pasta_So_Leitura: {
        // Named as the person would look for it, with the log the game may
        // have beside it.
        auto* bd = erro_bd(e);
        const std::filesystem::path jogo = bd ? bd->ficheiro() : std::string();
        const std::string pasta = jogo.parent_path().empty() ? "." : jogo.parent_path().string();
        const std::string log = jogo.filename().string() + "-wal";
        return ingles() ? "The folder \"" + pasta + "\" is read-only, and the game must write beside its file "
                          "while it is played. Copy the game, with the file \"" + log + "\" if it is beside it, to "
                          "a folder that can be written to, and open it there."
                        : "A pasta \"" + pasta + "\" só pode ser lida, e o jogo precisa de escrever ao lado do "
                          "ficheiro enquanto é jogado. Copie o jogo, com o ficheiro \"" + log + "\" se estiver ao "
                          "lado dele, para uma pasta onde se possa escrever, e abra-o aí.";
    }
    case T::Erro_ES: return txt("Houve um erro de leitura ou escrita no disco.", "The disk failed to read or write.");
    case T::Sem_Ficheiro: return txt("O ficheiro não existe.", "The file does not exist.");
    case T::Nao_E_Base:
        return txt("O ficheiro não é um jogo do Golvantario.", "The file is not a Golvantario game.");
    case T::Danificada: {
        const std::string nome = nome_de(e);
        if (nome.empty()) return txt("O ficheiro está danificado.", "The file is damaged.");
        return ingles() ? "The file \"" + nome + "\" is damaged: it is cut short or spoilt, and cannot be read."
                        : "O ficheiro \"" + nome + "\" está danificado: está cortado ou estragado, e não pode ser lido.";
    }
    case T::Sobra_Estranha:
    case T::Sobra_Grande:
    case T::Sobra_Alheia:
    case T::Sobra_Danificada: {
        const std::string nome = nome_de(e);
        const std::string mover =
            txt(" Mova-o para outra pasta e abra o jogo de novo", " Move it to another folder and open the game again");
        if (tipo == T::Sobra_Estranha)
            return (ingles() ? "Beside the game there is \"" + nome + "\", which is not an ordinary file (a folder, a "
                                                                      "link or a pipe)."
                             : "Ao lado do jogo está \"" + nome + "\", que não é um ficheiro comum (uma pasta, uma "
                                                                    "ligação ou um canal).") +
                   mover + ".";
        // The others name the file as the person sees it beside the game.
        const std::string ficheiro = ingles() ? "The file \"" + nome + "\" beside the game "
                                              : "O ficheiro \"" + nome + "\" ao lado do jogo ";
        auto* bd = erro_bd(e);
        if (tipo == T::Sobra_Grande)
            return ficheiro + txt("é muito maior do que qualquer um que o jogo escreva.",
                                  "is far larger than any the game writes.") + mover + ".";
        if (tipo == T::Sobra_Danificada && bd && bd->causa() == T::Danificada)
            return ficheiro + txt("está danificado, e o jogo não pode ser aberto sem ele.",
                                  "is damaged, and the game cannot be opened without it.");
        if (tipo == T::Sobra_Danificada)
            return ficheiro + txt("está danificado.", "is damaged.") + mover +
                   txt(": abre sem o que esse ficheiro guardava.", ": it opens without what that file held.");
        return ficheiro + txt("não pertence a este jogo.", "does not belong to it.") + mover + ".";
    }
    case T::Geral: break;
    }
    return txt("Ocorreu um erro inesperado.", "An unexpected error occurred.");
}

std::string Aviso_Ficheiro_Movido(const db::Erro_BD& e) {
    Registar_Erro(e);
    if (e.tipo() == db::Erro_BD::Tipo::Ficheiro_Alterado) return texto_alterado(e, Quando::Ao_Fechar);
    return texto_movido(e, true);
}

std::string Aviso_Alterado_Ao_Abrir(const db::Erro_BD& e) {
    Registar_Erro(e);
    return texto_alterado(e, Quando::Ao_Abrir);
}

void Registar_Erro(const std::exception& e) {
    if (auto* bd = erro_bd(e))
        std::fprintf(stderr, "golvantario: erro %d: %s\n", bd->numero(), bd->descricao().c_str());
    else
        std::fprintf(stderr, "golvantario: %s\n", e.what());
}

std::string Linha_Causa(const std::exception& e) {
    Registar_Erro(e);
    return "\n" + Causa_Erro(e);
}

const char* Jogo_Inalterado() { return txt("O ficheiro do jogo não foi alterado.", "The game file is unchanged."); }

std::string Novo_Jogo_Falhado(const std::string& ficheiro, bool havia, bool substituido) {
    if (!substituido) return txt("Nenhum ficheiro de jogo foi alterado.", "No game file was changed.");
    const std::string nome = std::filesystem::path(ficheiro).filename().string();
    if (havia)
        return ingles() ? "The game that was in \"" + nome + "\" was replaced by the new one, which is saved in "
                                                             "that file but could not be started."
                        : "O jogo que estava em \"" + nome + "\" foi substituído pelo novo, que ficou gravado nesse "
                                                             "ficheiro mas não pôde ser começado.";
    return ingles() ? "The new game is saved in \"" + nome + "\" but could not be started."
                    : "O novo jogo ficou gravado em \"" + nome + "\", mas não pôde ser começado.";
}

std::string Pasta_So_Leitura_Novo_Jogo(const std::string& pasta) {
    const std::string p = pasta.empty() ? "." : pasta;
    return ingles() ? "The folder \"" + p + "\" is read-only, and the game must write there to make the new game. "
                      "Choose a folder that can be written to, and make the game there."
                    : "A pasta \"" + p + "\" só pode ser lida, e o jogo precisa de escrever nela para criar o novo "
                      "jogo. Escolha uma pasta onde se possa escrever, e crie o jogo aí.";
}

std::string Texto_Erro_Numerado(const std::exception& e) {
    Registar_Erro(e);
    int numero = 0;
    if (auto* bd = erro_bd(e)) numero = bd->numero();
    return (ingles() ? "Error Nº : " : "Erro Nº : ") + std::to_string(numero) +
           (ingles() ? " - Description : " : " - Descrição : ") + Causa_Erro(e);
}

} // namespace gv
