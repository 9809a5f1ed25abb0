#pragma once
// The Qt port of the user-interface door: message boxes, the open and save
// file dialogs, the busy pointer and the event pump.

#include <QFontMetrics>
#include <QString>

#include <string>

#include "platform/interface_utilizador.h"

namespace gv {

class Interface_Qt : public Interface_Utilizador {
public:
    Resposta mensagem(const Mensagem& m) override;
    std::optional<Ficheiro_Escolhido> escolher_ficheiro(const Pedido_Ficheiro& p) override;
    void rato_ocupado() override;   // hourglass over the whole program
    void rato_normal() override;    // arrow back
    void processar_eventos() override;
};

// The old filter form, pairs of description and patterns separated by '|'
// ("Jogos Golvantario (*.gv)|*.gv", patterns within a pair by ';'), in Qt's
// form ("Jogos Golvantario (*.gv)", filters separated by ";;"). A
// description that already ends in its patterns is kept as it is.
QString converter_filtro(const std::string& filtro_antigo);

// The path with ".ext" appended when its file name has no extension
// (ext given without the dot; empty: unchanged).
std::string acrescentar_extensao(const std::string& caminho, const std::string& ext);

// The file name without its folder.
std::string titulo_ficheiro(const std::string& caminho);

// A message's text laid out in lines of at most `limite` pixels in
// `fonte`, as rich text whose lines the box keeps as they are: a line that
// fits is never broken, a longer one only at its spaces, never at a word's
// hyphen nor inside quotes, where a file's name stands; a quoted path too
// long for a line breaks only after one of its folders, and a folder or
// name in it wider than a whole line where the line ends (after a space
// in it that fits, if any). Nothing is put in the text, and what is copied
// from the box is what it says: no break the box made inside a path.
QString linhas_inteiras(const QString& texto, const QFontMetrics& fonte, int limite);

// Qt's own texts (the standard buttons, the file dialogs) in the game's
// language: while `portugues`, Qt's catalogue of Portugal's Portuguese with
// the game's own translations over it and Portugal's locale for file types
// and dates; Qt's English and the system's locale otherwise. Answers whether
// the texts are now in that language (false where the catalogue is not
// installed: English stays).
bool Lingua_Qt(bool portugues);

} // namespace gv
