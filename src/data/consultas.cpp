#include "data/consultas.h"

#include <cctype>
#include <filesystem>
#include <optional>

#include "data/erros.h"
#include "data/estado.h"
#include "platform/db/lugar.h"
#include "platform/falhas.h"
#include "platform/interface_utilizador.h"

namespace fs = std::filesystem;

namespace gv {

namespace {

void mostrar_erro(const db::Erro_BD& e) { ui().aviso(Texto_Erro_Numerado(e), Icone::Exclamacao); }

} // namespace

int Contar_Linhas(const std::string& sql, const db::Parametros& p) {
    try {
        if (!Base_Dados || !Base_Dados->aberta())
            throw db::Erro_BD(db::ERRO_SEM_BASE, "Não há base de dados aberta");
        std::string corpo = sql;
        while (!corpo.empty() && (corpo.back() == ';' || std::isspace(static_cast<unsigned char>(corpo.back()))))
            corpo.pop_back();
        return Base_Dados->valor("SELECT count(*) FROM (" + corpo + ")", p).int32();
    } catch (const db::Erro_BD& e) {
        mostrar_erro(e);
        return 0;
    }
}

int Ler_Soma(const std::string& sql, const db::Parametros& p) {
    // One read answers both questions: no row, or a Null or 0 `soma`, is 0.
    try {
        if (!Base_Dados || !Base_Dados->aberta())
            throw db::Erro_BD(db::ERRO_SEM_BASE, "Não há base de dados aberta");
        auto rs = Base_Dados->OpenRecordset(sql, p);
        if (rs.Eof()) return 0;
        return rs["soma"].int32();
    } catch (const db::Erro_BD& e) {
        mostrar_erro(e);
        return 0;
    }
}

void remover_com_diario(const std::string& caminho) {
    std::error_code ec;
    for (const char* sufixo : {"", "-journal", "-wal", "-shm"}) fs::remove(caminho + sufixo, ec);
}

void Fechar_Base_Dados() {
    if (!Base_Dados) return;
    const std::string caminho = Base_Dados->caminho();
    const std::shared_ptr<db::Lugar_Jogo> lugar = Base_Dados->lugar();
    const bool inteiro = Base_Dados->Close();
    // The game's file moved or replaced while open, found at the close:
    // where what was played is now. Told before with no copy made, or of a
    // copy gone or renamed since, the close tries once more, and tells how
    // it went.
    std::optional<db::Erro_BD> perda;
    if (Base_Dados->perda() && (!Base_Dados->perda_dita() || (lugar && lugar->dizer_de_novo())))
        perda = *Base_Dados->perda();
    Base_Dados.reset();
    if (perda) ui().aviso(Aviso_Ficheiro_Movido(*perda), Icone::Critico);
    if (inteiro) return;
    const std::string log = std::filesystem::path(caminho + "-wal").filename().string();
    ui().aviso(ingles() ? "The game is saved, but its last part was left in the file \"" + log +
                              "\" beside it. Keep the two files together: the game is whole again when it is "
                              "next opened."
                        : "O jogo está gravado, mas a última parte ficou no ficheiro \"" + log +
                              "\" ao lado dele. Mantenha os dois ficheiros juntos: o jogo fica completo quando "
                              "for aberto de novo.",
               Icone::Critico);
}

void Compactar_Base_Dados(db::Database& d) {
    ponto_de_falha("compactar");
    d.compactar();
}

} // namespace gv
