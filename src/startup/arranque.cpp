#include "startup/arranque.h"

#include <QApplication>
#include <QStandardPaths>

#include "data/consultas.h"
#include "data/estado.h"
#include "market/frmjogadores_equipas.h"
#include "matchday/frmsubstituicoes.h"
#include "platform/aleatorio.h"
#include "platform/db/lugar.h"
#include "platform/db/obras.h"
#include "platform/db/pasta_temporaria.h"
#include "platform/qt/navegacao.h"
#include "startup/jogo.h"
#include "startup/mdiform1.h"
#include "stats/ecra_consulta.h"

namespace gv {

namespace {

// The round runs under the hourglass; the half-time screen wants the arrow.
class Seta_No_Intervalo {
public:
    Seta_No_Intervalo() : activa_(QApplication::overrideCursor() != nullptr) {
        if (activa_) QApplication::setOverrideCursor(Qt::ArrowCursor);
    }
    ~Seta_No_Intervalo() {
        if (activa_) QApplication::restoreOverrideCursor();
    }
    Seta_No_Intervalo(const Seta_No_Intervalo&) = delete;
    Seta_No_Intervalo& operator=(const Seta_No_Intervalo&) = delete;

private:
    bool activa_;
};

template <class T>
void mostrar_intervalo(const std::string& casa, const std::string& fora, int golos_casa, int golos_fora) {
    // A screen left loaded from before would keep its old lists and caption.
    descarregar<T>();
    T& ecra = instancia<T>();
    ecra.Marcar_Intervalo(casa, fora, golos_casa, golos_fora);
    ecra.Show_Modal();
}

} // namespace

void Interface_Jogo::intervalo(bool taca, const std::string& casa, const std::string& fora, int golos_casa,
                               int golos_fora) {
    Seta_No_Intervalo seta;
    if (taca)
        mostrar_intervalo<FrmSubstituicoes_Taca>(casa, fora, golos_casa, golos_fora);
    else
        mostrar_intervalo<FrmSubstituicoes>(casa, fora, golos_casa, golos_fora);
}

void Main() {
    Ligacao_BD = LIGACAO_JOGO;
    // An installed game cannot write beside its executable: it keeps its
    // master database in the user's data folder.
    const std::string dados = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation).toStdString();
    Pasta_Programa = Escolher_Pasta_Programa(QCoreApplication::applicationDirPath().toStdString(), dados);
    // Where a game's copy goes when its own folder is gone.
    db::definir_pasta_dados(dados);
    semear_aleatorio_relogio();
    // Private copies a killed load left in the temporary folder, and what a
    // new game killed halfway left beside the games.
    db::limpar_copias_orfas();
    db::limpar_obras_orfas(Pasta_Programa);
    static Interface_Jogo porta;
    instalar_ui(&porta);
    // The statistics screens open a club's squad through the market's screen.
    Abrir_Plantel_Clube() = [](const std::string& clube) {
        descarregar<FrmJogadores_Equipas>();
        Clube_Consulta = clube;
        instancia<FrmJogadores_Equipas>().Show_Modal();
    };

    instancia<MDIForm1>().Show();
    Jogo_Real = 0;
}

void Terminar_Programa() {
    Navegacao::parar();
    try {
        Fechar_Base_Dados();
    } catch (...) {
    }
    Base_Dados.reset();
    QCoreApplication::exit(0);
}

} // namespace gv
