#pragma once

#include <QByteArray>
#include <QDBusConnection>
#include <QDBusContext>
#include <QList>
#include <QMainWindow>
#include <QObject>
#include <QPointer>
#include <QSize>
#include <QString>
#include <QWindow>
#include <functional>
#include <memory>

#include "platform/embedding/Embedding.h"

namespace kelvane::embedding {

// The window that holds the in-place frame for a container in another process: inside the
// container's window on X11, else a window of its own. Closing it ends editing.
class HostWindow : public QMainWindow {
    Q_OBJECT

  public:
    // Bars appear at once: nothing animates while a command pumps messages.
    HostWindow() { setAnimated(false); }

  signals:
    void CloseRequested();

  protected:
    void closeEvent(QCloseEvent* event) override;
};

// One document as a container in another process holds it. Only that container's
// connection may call it.
class BusItem : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "com.vantrel.Kelvane.Embedding.Item")

  public:
    // `released` runs when the container lets go of the item.
    BusItem(std::unique_ptr<ServerDocument> document, QString path, QString container,
            std::function<void(BusItem*)> released);
    ~BusItem() override;

    [[nodiscard]] const QString& Path() const { return m_strPath; }
    [[nodiscard]] const QString& Container() const { return m_strContainer; }
    [[nodiscard]] ServerDocument& Document() const { return *m_pDocument; }

  public slots:
    Q_SCRIPTABLE QSize GetExtent(uint aspect);
    Q_SCRIPTABLE QByteArray GetPicture(const QString& mimeType, int width, int height);
    Q_SCRIPTABLE QList<uint> Formats();
    Q_SCRIPTABLE QByteArray GetData(uint format);
    Q_SCRIPTABLE QByteArray Save();
    Q_SCRIPTABLE void RunCommand(uint command);
    Q_SCRIPTABLE bool Activate(qulonglong window, int width, int height);
    Q_SCRIPTABLE void Resize(int width, int height);
    Q_SCRIPTABLE void Deactivate();
    Q_SCRIPTABLE void Release();

  signals:
    Q_SCRIPTABLE void Changed();
    Q_SCRIPTABLE void Deactivated();

  protected:
    // A click into the frame inside the container's window takes the keyboard back.
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // The keyboard goes back to the frame when a window of this process that had it (a
    // progress window, a dialog) closes: the window manager would give it to the container.
    void OnFocusWindowChanged(QWindow* window);
    void GiveBackKeyboard();
    // False (with an error reply sent) when the caller is not this item's container.
    bool FromContainer();
    bool EmbedInto(qulonglong window, QSize size);
    void OnInPlaceEnded();

    std::unique_ptr<ServerDocument> m_pDocument;
    QString m_strPath;
    QString m_strContainer;
    std::function<void(BusItem*)> m_released;
    // The container's window; kept while the host window is its child.
    std::unique_ptr<QWindow> m_pContainerWindow;
    std::unique_ptr<HostWindow> m_pHost;
    // The last other window of this process that had the keyboard.
    QPointer<QWindow> m_pFocusedWindow;
};

}  // namespace kelvane::embedding
