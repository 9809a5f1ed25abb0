#pragma once
// Base of every screen of the game and its one default instance.
//
// A screen is a top-level window. instancia<T>() creates T's default
// instance on first reference and runs its Form_Load(); Unload() runs
// Form_Unload(), hides the window and releases the instance (deleted later,
// from the event loop), so the next instancia<T>() builds a fresh one and
// loads it again. Show_Modal() shows the screen application-modal and
// returns when it is hidden or unloaded.
//
// Controls are children whose objectName is the control's name
// ("Command1", "Label2"); tests and callers find them with findChild.

#include <QPointer>
#include <QWidget>

#include <typeindex>
#include <type_traits>
#include <typeinfo>

#include "platform/qt/alvo_pintura.h"

class QEventLoop;
class QPainter;

namespace gv {

class Ecra;

namespace detalhe {
Ecra* procurar_instancia(std::type_index tipo);
void registar_instancia(std::type_index tipo, Ecra* ecra);
void carregar(Ecra& ecra);
} // namespace detalhe

class Ecra : public QWidget, public Alvo_Pintura {
    Q_OBJECT
public:
    // nome: the screen's name, kept as objectName.
    explicit Ecra(const QString& nome, QWidget* pai = nullptr);
    ~Ecra() override;

    // Shows the screen, not modal.
    void Show();
    // Shows the screen application-modal; returns when it is hidden or
    // unloaded. Returns at once when the screen is being unloaded or the
    // program is ending. Safe when the screen unloads itself while shown.
    void Show_Modal();
    void Hide();
    // Runs Form_Unload, hides the screen and releases its default instance.
    // A second call (or a call from inside Form_Unload) does nothing.
    void Unload();

    bool a_descarregar() const { return descarregando_; }
    bool mostrado_modal() const { return ciclo_ != nullptr; }

    // Alvo_Pintura: the client area. PaintPicture draws only while the
    // screen repaints (inside Form_Paint); elsewhere it asks for a repaint.
    int ScaleWidth() const override;
    int ScaleHeight() const override;
    void PaintPicture(const QImage& imagem, int x, int y) override;
    QString Name() const override { return objectName(); }

    // How many modal shows are running right now, nested in one another.
    static int profundidade_modal();
    // Screens alive (loaded, or unloaded and not yet deleted).
    static int ecras_vivos();
    // Deletes every default instance without unload handlers (program end).
    static void libertar_todos();

protected:
    virtual void Form_Load() {}
    virtual void Form_Unload() {}
    virtual void Form_Resize() {}
    // Background painting; PaintPicture and pintor() work in here.
    virtual void Form_Paint() {}
    QPainter* pintor() const { return pintor_; }
    // Asked when the person closes the window; false keeps it open.
    virtual bool Form_QueryUnload() { return true; }

    void closeEvent(QCloseEvent* e) override;
    void hideEvent(QHideEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void paintEvent(QPaintEvent* e) override;

private:
    friend void detalhe::registar_instancia(std::type_index, Ecra*);
    friend void detalhe::carregar(Ecra&);
    void sair_do_ciclo();

    bool registado_ = false;
    std::type_index tipo_{typeid(void)};
    bool descarregando_ = false;
    QEventLoop* ciclo_ = nullptr;
    QPainter* pintor_ = nullptr;
};

// The default instance of screen T, created and loaded on first reference.
template <class T>
T& instancia() {
    static_assert(std::is_base_of_v<Ecra, T>, "screens derive from Ecra");
    if (Ecra* e = detalhe::procurar_instancia(typeid(T)))
        return static_cast<T&>(*e);
    T* novo = new T();
    // Registered before loading, so the load handler may refer to itself.
    detalhe::registar_instancia(typeid(T), novo);
    detalhe::carregar(*novo);
    return *novo;
}

// Whether T's default instance exists (loaded and not unloaded).
template <class T>
bool carregado() {
    return detalhe::procurar_instancia(typeid(T)) != nullptr;
}

// Unloads T's default instance when it is loaded; never creates one.
template <class T>
void descarregar() {
    if (Ecra* e = detalhe::procurar_instancia(typeid(T))) e->Unload();
}

} // namespace gv
