#include "stats/menu_estatisticas.h"

#include "data/estado.h"
#include "platform/interface_utilizador.h"
#include "platform/texto.h"
#include "startup/servicos_ecra.h"
#include "stats/ecras_estatisticas.h"
#include "stats/estatisticas.h"

namespace gv {

namespace {

template <class T>
void abrir() {
    instancia<T>().Show_Modal();
}

// The pointer is busy only while the screen loads.
template <class T>
void abrir_com_ampulheta() {
    Rato_Ocupado();
    T* e = nullptr;
    try {
        e = &instancia<T>();
    } catch (...) {
        Rato_Normal();
        throw;
    }
    Rato_Normal();
    e->Show_Modal();
}

} // namespace

void Menu_Calendario() { abrir_com_ampulheta<FrmCalendario>(); }

void Menu_Calendario_Taca() {
    auto& d = base_aberta();
    if (d.valor("SELECT count(*) FROM clubes_taca_qualif").int32() == 1) {
        const std::string vencedor = d.valor("SELECT clube FROM clubes_taca_qualif").texto();
        ui().aviso(txt("Clube vencedor da Taça: ", "CUP Winner: ") + maiusculas(vencedor), Icone::Informacao);
        return;
    }
    abrir<FrmCalendario_Taca>();
}

void Menu_Melhores_Marcadores() {
    if (!Ha_Golos_Epoca()) {
        ui().aviso(txt("Não foram marcados nenhuns golos.", "No gols scorer."), Icone::Critico);
        return;
    }
    abrir<FrmGolos>();
}

void Menu_Marcadores_Sempre() { abrir_com_ampulheta<FrmGolos_Sempre>(); }
void Menu_Media_Jogadores() { abrir<FrmMedia_Jog>(); }
void Menu_Transferencias_Clube() { abrir<FrmTranfere>(); }
void Menu_Assistencias() { abrir<FrmAssistencias>(); }
void Menu_Historico_Clubes() { abrir<FrmHist_Clubes>(); }
void Menu_Historico_Clube_Epocas() { abrir<FrmHist_Clubes_Epoca>(); }
void Menu_Historico_Treinador() { abrir<FrmHist_Treinador>(); }
void Menu_Vencedores() { abrir<FrmVencedores>(); }
void Menu_Transferencias_Todas() { abrir_com_ampulheta<FrmTransferencias_totais>(); }

} // namespace gv
