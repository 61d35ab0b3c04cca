#include "ContainerWindow.h"

#include <QAction>
#include <QApplication>
#include <QCryptographicHash>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QStatusBar>
#include <QVBoxLayout>
#include <cstdio>

namespace {

constexpr char kTitle[] = "Kelvane Container";
constexpr char kDocumentFilter[] = "Container documents (*.kvc)";
// The editor's frame needs room for its menus, toolbars and status bar.
constexpr int kActiveHeight = 380;

}  // namespace

SoundSite::SoundSite(QWidget* parent) : QWidget(parent) {
    // The editor's window becomes a child of this one: it needs an X window of its own.
    setAttribute(Qt::WA_NativeWindow);
    setFocusPolicy(Qt::StrongFocus);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setFixedHeight(100);
}

void SoundSite::SetPicture(QImage picture) {
    m_picture = std::move(picture);
    update();
}

void SoundSite::SetActive(bool active) {
    m_bActive = active;
    setFixedHeight(active ? kActiveHeight : width() / 4);
    update();
}

void SoundSite::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (m_picture.isNull() || m_bActive) {
        painter.fillRect(rect(), palette().window());
        return;
    }
    painter.drawImage(rect(), m_picture);
    if (hasFocus()) {
        painter.setPen(QPen(palette().highlight(), 1, Qt::DashLine));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

void SoundSite::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) emit ActivateRequested();
}

void SoundSite::resizeEvent(QResizeEvent*) {
    // Inactive, the sound keeps its extent's shape: four times as wide as high.
    if (!m_bActive && height() != width() / 4) return setFixedHeight(width() / 4);
    emit Resized(size());
}

ContainerWindow::ContainerWindow() {
    auto* page = new QWidget;
    page->setAutoFillBackground(true);
    QPalette paper = page->palette();
    paper.setColor(QPalette::Window, Qt::white);
    page->setPalette(paper);
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(40, 30, 40, 30);
    m_caption = new QLabel("This document holds a sound. Double-click it to edit it here.");
    layout->addWidget(m_caption);
    m_site = new SoundSite(page);
    layout->addWidget(m_site);
    layout->addStretch(1);
    setCentralWidget(page);
    page->installEventFilter(this);

    QMenu* file = menuBar()->addMenu("&File");
    file->addAction("&New Sound", QKeySequence::New, this, &ContainerWindow::NewSound);
    file->addAction("&Insert Sound File...", this, &ContainerWindow::InsertFile);
    file->addAction("&Open...", QKeySequence::Open, this, &ContainerWindow::OpenDocument);
    file->addAction("&Save", QKeySequence::Save, this, [this] { SaveDocument(false); });
    file->addAction("Save &As...", this, [this] { SaveDocument(true); });
    file->addSeparator();
    file->addAction("&Quit", QKeySequence::Quit, this, &QWidget::close);
    QMenu* edit = menuBar()->addMenu("&Edit");
    edit->addAction("&Edit Sound", this, [this] { Edit(true); });
    edit->addAction("Open Sound in Its &Window", this, [this] { Edit(false); });

    connect(m_site, &SoundSite::ActivateRequested, this, [this] { Edit(true); });
    // Keys reach this window while the editor's frame is between two of its own windows (a
    // progress window just closed); Escape still ends editing.
    auto* escape = new QAction(this);
    escape->setShortcut(Qt::Key_Escape);
    connect(escape, &QAction::triggered, this, [this] {
        if (m_bActive && m_sound) m_sound->Deactivate();
    });
    addAction(escape);
    connect(m_site, &SoundSite::Resized, this, [this](QSize size) {
        if (!m_sound) return;
        if (m_bActive)
            m_sound->Resize(size);
        else
            UpdatePicture();
    });
    resize(860, 560);
    UpdateTitle();
}

ContainerWindow::~ContainerWindow() = default;

// The window manager gives the keyboard to this window, also when a window of the editor
// closes; while the sound is edited in place it belongs to the editor's frame.
void ContainerWindow::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && m_bActive && m_sound)
        m_sound->Activate(m_site->winId(), m_site->size());
    QMainWindow::changeEvent(event);
}

// A click on the page beside the sound ends editing in place.
bool ContainerWindow::eventFilter(QObject*, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress && m_bActive && m_sound) m_sound->Deactivate();
    return false;
}

void ContainerWindow::SetSound(std::unique_ptr<EmbeddedSound> sound, const QString& documentPath) {
    m_strPath = documentPath;
    ReplaceSound(std::move(sound));
}

void ContainerWindow::ReplaceSound(std::unique_ptr<EmbeddedSound> sound) {
    m_bActive = false;
    m_site->SetActive(false);
    m_sound = std::move(sound);
    if (m_sound) {
        connect(m_sound.get(), &EmbeddedSound::Changed, this, &ContainerWindow::UpdatePicture);
        connect(m_sound.get(), &EmbeddedSound::Deactivated, this, &ContainerWindow::OnDeactivated);
    }
    UpdatePicture();
    UpdateTitle();
}

void ContainerWindow::NewSound() {
    QString error;
    auto sound = EmbeddedSound::Create({}, &error);
    if (!sound) return Fail("The sound could not be created.", error);
    m_strPath.clear();
    ReplaceSound(std::move(sound));
}

void ContainerWindow::InsertFile() {
    const QString path =
        QFileDialog::getOpenFileName(this, "Insert Sound File", {}, "Wave files (*.wav)");
    if (path.isEmpty()) return;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return Fail("The file could not be read.", file.errorString());
    QString error;
    auto sound = EmbeddedSound::Create(file.readAll(), &error);
    if (!sound) return Fail("The file does not hold a sound the editor takes.", error);
    ReplaceSound(std::move(sound));
}

void ContainerWindow::OpenDocument() {
    const QString path = QFileDialog::getOpenFileName(this, "Open", {}, kDocumentFilter);
    if (path.isEmpty()) return;
    QByteArray storage;
    if (!ReadContainerDocument(path, storage)) return Fail("The document could not be read.", path);
    QString error;
    auto sound = EmbeddedSound::Create(storage, &error);
    if (!sound) return Fail("The document's sound could not be loaded.", error);
    SetSound(std::move(sound), path);
}

void ContainerWindow::SaveDocument(bool askName) {
    if (!m_sound) return;
    QString path = m_strPath;
    if (askName || path.isEmpty())
        path = QFileDialog::getSaveFileName(this, "Save As", path, kDocumentFilter);
    if (path.isEmpty()) return;
    QString error;
    const QByteArray storage = m_sound->Storage(&error);
    if (storage.isEmpty()) return Fail("The sound could not be stored.", error);
    if (!WriteContainerDocument(path, storage))
        return Fail("The document could not be written.", path);
    m_strPath = path;
    UpdateTitle();
    statusBar()->showMessage("Saved.", 3000);
    Report("saved");
}

void ContainerWindow::Edit(bool inPlace) {
    if (!m_sound || m_bActive) return;
    m_bActive = inPlace;
    if (inPlace) {
        m_site->SetActive(true);
        centralWidget()->layout()->activate();  // the site takes its active size first
    }
    QString error;
    const bool inside = m_sound->Activate(inPlace ? m_site->winId() : 0, m_site->size(), &error);
    if (inside) m_sound->Resize(m_site->size());
    if (!error.isEmpty()) {
        m_bActive = false;
        m_site->SetActive(false);
        return Fail("The sound could not be edited.", error);
    }
    if (!inside) {
        m_bActive = false;
        m_site->SetActive(false);
    }
    Report(inside ? "active in place" : "active in its own window");
}

void ContainerWindow::OnDeactivated() {
    m_bActive = false;
    m_site->SetActive(false);
    UpdatePicture();
    activateWindow();
    m_site->setFocus();
    Report("deactivated");
}

void ContainerWindow::UpdatePicture() {
    if (!m_sound) return m_site->SetPicture({});
    const QSize pixels = m_site->size() * m_site->devicePixelRatioF();
    QImage picture;
    picture.loadFromData(m_sound->Picture("image/png", pixels), "PNG");
    picture.setDevicePixelRatio(m_site->devicePixelRatioF());
    m_site->SetPicture(picture);
    Report("picture " +
           QCryptographicHash::hash(QByteArray(reinterpret_cast<const char*>(picture.constBits()),
                                               picture.sizeInBytes()),
                                    QCryptographicHash::Md5)
               .toHex());
}

// What happens, a line each on standard output, for scripts that drive the window.
void ContainerWindow::Report(const QString& line) {
    std::printf("%s\n", qPrintable(line));
    std::fflush(stdout);
}

void ContainerWindow::UpdateTitle() {
    const QString name = m_strPath.isEmpty() ? "Untitled" : QFileInfo(m_strPath).fileName();
    setWindowTitle(QString("%1 - %2").arg(kTitle, name));
}

void ContainerWindow::Fail(const QString& what, const QString& error) {
    QMessageBox::warning(this, kTitle, error.isEmpty() ? what : what + "\n\n" + error);
}
