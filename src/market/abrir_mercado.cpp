#include "market/abrir_mercado.h"

#include <QEvent>
#include <QMouseEvent>
#include <QObject>

#include "data/estado.h"
#include "data/financas.h"
#include "desk/frmdados.h"
#include "market/estagio.h"
#include "market/frmbanco.h"
#include "market/frmestadio.h"
#include "market/frmestagio.h"
#include "market/frmjogadores_equipas.h"
#include "market/frmlista_jog.h"
#include "market/frmvenda.h"
#include "market/listas.h"
#include "platform/interface_utilizador.h"

namespace gv {

namespace {

class Filtro_Clique : public QObject {
public:
    Filtro_Clique(QObject* pai, std::function<void()> accao) : QObject(pai), accao_(std::move(accao)) {}

protected:
    bool eventFilter(QObject* alvo, QEvent* e) override {
        if (e->type() == QEvent::MouseButtonRelease && static_cast<QMouseEvent*>(e)->button() == Qt::LeftButton) {
            accao_();
            return true;
        }
        return QObject::eventFilter(alvo, e);
    }

private:
    std::function<void()> accao_;
};

template <class T>
void abrir() {
    instancia<T>().Show_Modal();
}

} // namespace

void Abrir_Banco() { abrir<FrmBanco>(); }

void Abrir_Lista_Venda() {
    // A list not kept from earlier in the matchday is drawn anew.
    if (Lista_Venda_Carregada == 0) descarregar<FrmVenda>();
    abrir<FrmVenda>();
}

void Abrir_Lista_Jogadores() { abrir<FrmLista_Jog>(); }

void Abrir_Estadio() { abrir<FrmEstadio>(); }

void Abrir_Estagio() {
    if (!Estagio_Permitido()) return;
    abrir<FrmEstagio>();
}

void Abrir_Equipa_Adversario() {
    ui().rato_ocupado();
    Clube_Consulta = Adversario;
    auto& ecra = instancia<FrmJogadores_Equipas>();
    ui().rato_normal();
    ecra.Show_Modal();
}

std::vector<Jogador_Listado> Lista_Venda_Por_Negociar() {
    auto lista = instancia<FrmVenda>().por_negociar();
    descarregar<FrmVenda>();
    return lista;
}

void Refrescar_Secretaria() {
    if (carregado<FrmDados>())
        instancia<FrmDados>().refrescar_plantel();
    else
        Actualizar_Financas();
}

void Ao_Clicar(QWidget& w, std::function<void()> accao) {
    w.installEventFilter(new Filtro_Clique(&w, std::move(accao)));
}

} // namespace gv
