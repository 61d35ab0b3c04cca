#include "platform/embedding/BusItem.h"

#include <QBuffer>
#include <QCloseEvent>
#include <QDBusMessage>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgGenerator>
#include <QTimer>
#include <QVBoxLayout>
#include <utility>

#include "platform/embedding/BusServer.h"
#include "platform/embedding/X11Focus.h"

namespace kelvane::embedding {

namespace {

constexpr int kMaxPictureSide = 16384;
constexpr char kPng[] = "image/png";
constexpr char kSvg[] = "image/svg+xml";
constexpr char kHostTitle[] = " - Embedded sound";
// A window of its own opens at least this large, whatever the container's rectangle.
constexpr QSize kOwnWindowMinimum{640, 320};

}  // namespace

void HostWindow::closeEvent(QCloseEvent* event) {
    event->ignore();
    emit CloseRequested();
}

BusItem::BusItem(std::unique_ptr<ServerDocument> document, QString path, QString container,
                 std::function<void(BusItem*)> released)
    : m_pDocument(std::move(document)),
      m_strPath(std::move(path)),
      m_strContainer(std::move(container)),
      m_released(std::move(released)) {
    connect(m_pDocument.get(), &ServerDocument::Changed, this, &BusItem::Changed);
    connect(m_pDocument.get(), &ServerDocument::InPlaceEnded, this, &BusItem::OnInPlaceEnded);
}

BusItem::~BusItem() {
    disconnect(m_pDocument.get(), nullptr, this, nullptr);
    m_pDocument->DeactivateInPlace();
}

bool BusItem::FromContainer() {
    if (!calledFromDBus() || message().service() == m_strContainer) return true;
    sendErrorReply(kErrorAccessDenied, "This item belongs to another container.");
    return false;
}

QSize BusItem::GetExtent(uint aspect) {
    if (!FromContainer()) return {};
    QSize size;
    if (!m_pDocument->GetEmbeddedItem()->OnGetExtent(static_cast<Aspect>(aspect), size))
        sendErrorReply(kErrorNotSupported, "The item has no extent for this aspect.");
    return size;
}

QByteArray BusItem::GetPicture(const QString& mimeType, int width, int height) {
    if (!FromContainer()) return {};
    const QSize size(width, height);
    if (width < 1 || height < 1 || width > kMaxPictureSide || height > kMaxPictureSide) {
        sendErrorReply(QDBusError::InvalidArgs, "The picture size is out of range.");
        return {};
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    ServerItem& item = *m_pDocument->GetEmbeddedItem();
    if (mimeType == kPng) {
        QImage image(size, QImage::Format_RGB32);
        QPainter painter(&image);
        item.OnDraw(painter, size);
        painter.end();
        image.save(&buffer, "PNG");
    } else if (mimeType == kSvg) {
        QSvgGenerator svg;
        svg.setOutputDevice(&buffer);
        svg.setSize(size);
        svg.setViewBox(QRect(QPoint(0, 0), size));
        QPainter painter(&svg);
        item.OnDraw(painter, size);
    } else {
        sendErrorReply(kErrorNotSupported, "Pictures are image/png or image/svg+xml.");
    }
    return bytes;
}

QList<uint> BusItem::Formats() {
    if (!FromContainer()) return {};
    const auto& formats = m_pDocument->GetEmbeddedItem()->Formats();
    return QList<uint>(formats.begin(), formats.end());
}

QByteArray BusItem::GetData(uint format) {
    if (!FromContainer()) return {};
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!m_pDocument->GetEmbeddedItem()->GetData(format, buffer))
        sendErrorReply(kErrorNotSupported, "The item has no data of this format.");
    return bytes;
}

QByteArray BusItem::Save() {
    if (!FromContainer()) return {};
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!m_pDocument->SaveToStream(buffer))
        sendErrorReply(QDBusError::Failed, "The sound could not be stored.");
    return bytes;
}

void BusItem::RunCommand(uint command) {
    if (!FromContainer()) return;
    if (!m_pDocument->RunCommand(command))
        sendErrorReply(kErrorNotSupported, "The command is unknown or not available now.");
}

bool BusItem::Activate(qulonglong window, int width, int height) {
    if (!FromContainer()) return false;
    const QSize size(std::max(width, 1), std::max(height, 1));
    // Again while active: the frame takes the keyboard back (the window manager gave it to
    // the container's window).
    if (m_pHost) {
        if (m_pContainerWindow)
            GiveBackKeyboard();
        else
            m_pHost->activateWindow();
        return m_pContainerWindow != nullptr;
    }
    m_pHost = std::make_unique<HostWindow>();
    auto* site = new QWidget;
    m_pHost->setCentralWidget(site);
    InPlaceFrame* frame = m_pDocument->ActivateInPlace(*m_pHost, *site);
    if (!frame) {
        m_pHost.reset();
        sendErrorReply(QDBusError::Failed, "The item could not be activated.");
        return false;
    }
    frame->AddMenus(*m_pHost->menuBar());
    // Keys go to the frame (Escape among them) once the window has the keyboard.
    frame->setFocus(Qt::OtherFocusReason);
    connect(m_pHost.get(), &HostWindow::CloseRequested, this, &BusItem::Deactivate);
    // Also inside the container: scripts and accessibility tools find the frame by it.
    m_pHost->setWindowTitle(QGuiApplication::applicationDisplayName() + kHostTitle);
    if (window != 0 && EmbedInto(window, size)) return true;
    m_pHost->resize(size.expandedTo(kOwnWindowMinimum));
    m_pHost->show();
    m_pHost->activateWindow();
    return false;
}

// Only X11 lets a window of this process live inside another process's window.
bool BusItem::EmbedInto(qulonglong window, QSize size) {
    if (QGuiApplication::platformName() != "xcb") return false;
    m_pHost->setAttribute(Qt::WA_NativeWindow);
    m_pHost->winId();
    m_pContainerWindow.reset(QWindow::fromWinId(static_cast<WId>(window)));
    if (!m_pContainerWindow) return false;
    m_pHost->windowHandle()->setParent(m_pContainerWindow.get());
    m_pHost->setGeometry(QRect(QPoint(0, 0), size));
    m_pHost->show();
    m_pHost->windowHandle()->installEventFilter(this);
    connect(qGuiApp, &QGuiApplication::focusWindowChanged, this, &BusItem::OnFocusWindowChanged);
    TakeKeyboardFocus(*m_pHost->windowHandle());
    return true;
}

bool BusItem::eventFilter(QObject*, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress && m_pHost &&
        QGuiApplication::focusWindow() != m_pHost->windowHandle())
        GiveBackKeyboard();
    return false;
}

void BusItem::OnFocusWindowChanged(QWindow* window) {
    if (!m_pHost || !m_pContainerWindow || !window || window == m_pHost->windowHandle()) return;
    if (m_pFocusedWindow) disconnect(m_pFocusedWindow, nullptr, this, nullptr);
    m_pFocusedWindow = window;
    connect(window, &QWindow::visibleChanged, this, [this](bool visible) {
        if (!visible) GiveBackKeyboard();
    });
    connect(window, &QObject::destroyed, this, &BusItem::GiveBackKeyboard);
}

void BusItem::GiveBackKeyboard() {
    if (!m_pHost || !m_pHost->isVisible() || !m_pContainerWindow) return;
    // A progress window disables the frame while it runs, which takes the focus off it.
    if (InPlaceFrame* frame = m_pDocument->InPlace()) frame->setFocus(Qt::OtherFocusReason);
    TakeKeyboardFocus(*m_pHost->windowHandle());
}

void BusItem::Resize(int width, int height) {
    if (!FromContainer() || !m_pHost || !m_pContainerWindow) return;
    m_pHost->setGeometry(0, 0, std::max(width, 1), std::max(height, 1));
}

void BusItem::Deactivate() {
    if (!FromContainer()) return;
    m_pDocument->DeactivateInPlace();
}

void BusItem::OnInPlaceEnded() {
    if (!m_pHost) return;
    disconnect(qGuiApp, &QGuiApplication::focusWindowChanged, this, nullptr);
    m_pHost->hide();
    // The frame's key handler may still be on the stack: the window goes after it returns.
    m_pHost.release()->deleteLater();
    if (m_pContainerWindow) m_pContainerWindow.release()->deleteLater();
    emit Deactivated();
}

void BusItem::Release() {
    if (!FromContainer()) return;
    // After the reply: the item answering is the one going.
    QTimer::singleShot(0, this, [this] { m_released(this); });
}

}  // namespace kelvane::embedding
