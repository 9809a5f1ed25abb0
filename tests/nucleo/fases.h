#pragma once
// The phases of play a failing disk or a power cut is tried on (a press at
// the desk, a league round, a cup round, a load, a close, a new game over an
// existing one), the files each starts from, and what an untroubled one
// does to the disk.

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "desk/proximo_jogo.h"
#include "disco_avariado.h"
#include "matchday/ronda.h"
#include "mortes.h"

namespace gv::teste {

enum class Fase { Accao, Ronda, Taca, Carregar, Fechar, Novo };

inline const char* nome_fase(Fase f) {
    switch (f) {
    case Fase::Accao: return "press";
    case Fase::Ronda: return "league round";
    case Fase::Taca: return "cup round";
    case Fase::Carregar: return "load";
    case Fase::Fechar: return "close";
    case Fase::Novo: return "new game";
    }
    return "?";
}

// A parametrised instance's name: the phase's, then its slice if any.
inline std::string nome_instancia(Fase f, int fatia = -1) {
    std::string n = nome_fase(f);
    for (char& c : n)
        if (c == ' ') c = '_';
    return fatia < 0 ? n : n + "_" + std::to_string(fatia);
}

class Com_Fases : public Com_Mortes {
protected:
    // f in a child process, which is killed at the end if not before.
    void num_filho(const std::function<void()>& f) { morrer(f, true); }
    void guardar_inicio() {
        namespace fs = std::filesystem;
        for (const char* s : {"", "-wal", "-journal"}) {
            fs::remove(caminho(std::string("inicio.gv") + s));
            if (fs::exists(caminho(std::string("jogo.gv") + s)))
                fs::copy_file(caminho(std::string("jogo.gv") + s), caminho(std::string("inicio.gv") + s));
        }
    }
    void repor_inicio() {
        namespace fs = std::filesystem;
        remover_com_diario(caminho("jogo.gv"));
        for (const char* s : {"", "-wal", "-journal"})
            if (fs::exists(caminho(std::string("inicio.gv") + s)))
                fs::copy_file(caminho(std::string("inicio.gv") + s), caminho(std::string("jogo.gv") + s));
    }
    // The files each run starts from.
    void preparar(Fase fase) {
        if (fase == Fase::Taca)
            num_filho([&] {
                if (carregar() != Resultado_Jogo::Aberto) _exit(3);
                while (Jornada_Actual < 5) Jogar_Proximo_Jogo();
                Fechar_Base_Dados();
            });
        // A game killed after its last commit, its log beside it.
        if (fase == Fase::Carregar || fase == Fase::Novo)
            num_filho([&] {
                if (carregar() != Resultado_Jogo::Aberto) _exit(3);
                Jogar_Proximo_Jogo();
                armar_morte("em_jogo.commit");
                Base_Dados->Execute("UPDATE principal SET nome = ?", {fase == Fase::Novo ? "Velho" : "Antes"});
            });
        guardar_inicio();
    }
    // The phase on a sound disk or, in a child, on a failing one: whether
    // the player is shown it done.
    bool correr(Fase fase) {
        switch (fase) {
        case Fase::Accao:
            try {
                Base_Dados->Execute("UPDATE principal SET nome = 'Feito'");
            } catch (const db::Falha_BD&) {
                return false;
            }
            Nome_Treinador = "Feito";
            return true;
        case Fase::Ronda: return Jogar_Ronda_Campeonato() == Resultado_Ronda::Jogada;
        case Fase::Taca: return Jogar_Ronda_Taca() == Resultado_Ronda::Jogada;
        case Fase::Carregar: return carregar() == Resultado_Jogo::Aberto;
        case Fase::Fechar: Fechar_Base_Dados(); return false;
        case Fase::Novo:
            repor_estado();
            porta.respostas.assign(1, Resposta::Sim);
            porta.escolher(Ficheiro_Escolhido{caminho("jogo.gv"), "jogo.gv"});
            return Novo_Jogo(escolhas()) == Resultado_Jogo::Aberto;
        }
        return false;
    }
    // Whether the game is open, loaded in the run, before the phase.
    static bool antes_aberto(Fase fase) { return fase != Fase::Carregar && fase != Fase::Novo; }
    // What an untroubled phase, and `depois` after it, do to the disk; the
    // files they leave stay.
    std::vector<std::pair<Operacao, Papel>> registo(Fase fase, const std::function<void()>& depois = {}) {
        repor_inicio();
        num_filho([&] {
            if (antes_aberto(fase) && carregar() != Resultado_Jogo::Aberto) _exit(3);
            Disco_Avariado::limpar(true);
            correr(fase);
            if (depois) depois();
            std::ofstream f(caminho("registo"));
            for (const auto& [o, p] : Disco_Avariado::registo()) f << static_cast<int>(o) << " " << static_cast<int>(p) << "\n";
        });
        std::vector<std::pair<Operacao, Papel>> r;
        std::ifstream f(caminho("registo"));
        for (int o, p; f >> o >> p;) r.emplace_back(static_cast<Operacao>(o), static_cast<Papel>(p));
        return r;
    }
};

} // namespace gv::teste
