#include "startup/arranque.h"

#include <QApplication>

#include "data/estado.h"
#include "platform/aleatorio.h"
#include "platform/qt/interface_qt.h"
#include "platform/qt/navegacao.h"
#include "startup/mdiform1.h"

namespace gv {

void Main() {
    Ligacao_BD = LIGACAO_JOGO;
    Pasta_Programa = QCoreApplication::applicationDirPath().toStdString();
    semear_aleatorio_relogio();
    static Interface_Qt porta;
    instalar_ui(&porta);

    instancia<MDIForm1>().Show();
    Jogo_Real = 0;
}

void Terminar_Programa() {
    Navegacao::parar();
    try {
        if (Base_Dados) Base_Dados->Close();
    } catch (...) {
    }
    Base_Dados.reset();
    QCoreApplication::exit(0);
}

} // namespace gv
