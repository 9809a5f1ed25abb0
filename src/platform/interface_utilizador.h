#pragma once
// The one narrow door between game procedures and the person playing.
// Procedures never show a window themselves: every message box, yes/no
// question, file choice, busy pointer and event pump goes through the
// port installed here. The screens library installs a Qt port; tests and
// benchmarks install the scripted port, which records and answers.

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace gv {

enum class Icone { Nenhum, Critico, Pergunta, Exclamacao, Informacao };
enum class Botoes { Ok, OkCancelar, SimNao, SimNaoCancelar };
enum class Resposta { Ok, Cancelar, Sim, Nao };

struct Mensagem {
    std::string texto;
    Icone icone = Icone::Nenhum;
    Botoes botoes = Botoes::Ok;
    std::string titulo;       // empty: the program's name
    int botao_defeito = 0;    // 0 first button, 1 second, 2 third
};

struct Pedido_Ficheiro {
    bool guardar = false;     // true: save dialog, false: open dialog
    std::string titulo;
    std::string filtro = "Jogos Golvantario (*.gv)|*.gv";
    std::string extensao_defeito = "gv";
    std::string pasta_inicial;
};

struct Ficheiro_Escolhido {
    std::string caminho;      // full path (the dialog's FileName)
    std::string titulo;       // name without folder (the dialog's FileTitle)
};

class Interface_Utilizador {
public:
    virtual ~Interface_Utilizador() = default;
    virtual Resposta mensagem(const Mensagem& m) = 0;
    // Empty when the person cancels the dialog.
    virtual std::optional<Ficheiro_Escolhido> escolher_ficheiro(const Pedido_Ficheiro& p) = 0;
    virtual void rato_ocupado() = 0;
    virtual void rato_normal() = 0;
    virtual void processar_eventos() = 0;
    // Half time of the manager's own match (league or cup), with the score
    // so far: the substitutions screen answers here and writes the new
    // line-up to jogadores before it returns. Headless, nothing changes.
    virtual void intervalo(bool /*taca*/, const std::string& /*casa*/, const std::string& /*fora*/,
                           int /*golos_casa*/, int /*golos_fora*/) {}

    // Conveniences built on mensagem().
    void aviso(const std::string& texto, Icone icone = Icone::Exclamacao);
    bool pergunta(const std::string& texto, int botao_defeito = 0);
};

// The installed port. Before anything is installed a silent scripted port
// answers (Ok / Sim / no file), so library code never dereferences null.
Interface_Utilizador& ui();
void instalar_ui(Interface_Utilizador* port);   // nullptr restores the silent default

// Records every message and file request; answers from scripts, and when a
// script runs dry answers the message's default button (or no file).
class Interface_Guionizada : public Interface_Utilizador {
public:
    Resposta mensagem(const Mensagem& m) override;
    std::optional<Ficheiro_Escolhido> escolher_ficheiro(const Pedido_Ficheiro& p) override;
    void rato_ocupado() override { ++vezes_ocupado; ocupado = true; }
    void rato_normal() override { ocupado = false; }
    void processar_eventos() override {
        ++eventos_processados;
        if (ao_processar_eventos) ao_processar_eventos();
    }
    void intervalo(bool taca, const std::string& casa, const std::string& fora, int golos_casa,
                   int golos_fora) override;

    void responder(Resposta r) { respostas.push_back(r); }
    void escolher(std::optional<Ficheiro_Escolhido> f) { ficheiros.push_back(std::move(f)); }

    std::vector<Mensagem> mensagens;
    std::vector<Pedido_Ficheiro> pedidos_ficheiro;
    std::deque<Resposta> respostas;
    std::deque<std::optional<Ficheiro_Escolhido>> ficheiros;
    bool ocupado = false;
    int vezes_ocupado = 0;
    int eventos_processados = 0;
    // Runs where the event pump would let the person act (a test's clicks).
    std::function<void()> ao_processar_eventos;
    struct Intervalo {
        bool taca;
        std::string casa, fora;
        int golos_casa, golos_fora;
    };
    std::vector<Intervalo> intervalos;
};

// Installs a port for the life of a scope (tests), restoring the previous one.
class Ui_Instalada {
public:
    explicit Ui_Instalada(Interface_Utilizador& p);
    ~Ui_Instalada();
    Ui_Instalada(const Ui_Instalada&) = delete;
    Ui_Instalada& operator=(const Ui_Instalada&) = delete;
private:
    Interface_Utilizador* anterior_;
};

} // namespace gv
