#pragma once

#include <QImage>
#include <QMainWindow>
#include <QString>
#include <memory>

#include "EmbeddedSound.h"

class QLabel;

// Where the embedded sound sits in the page: its picture while inactive, the editor's
// in-place frame (a window of the editor's process) while active.
class SoundSite : public QWidget {
    Q_OBJECT

  public:
    explicit SoundSite(QWidget* parent);
    void SetPicture(QImage picture);
    void SetActive(bool active);
    [[nodiscard]] bool hasHeightForWidth() const override { return true; }
    [[nodiscard]] int heightForWidth(int width) const override;
    [[nodiscard]] QSize sizeHint() const override { return {400, 100}; }

  signals:
    void ActivateRequested();
    void Resized(QSize size);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    QImage m_picture;
    bool m_bActive = false;
};

// The container: one page holding one embedded sound, saved with the sound's storage.
class ContainerWindow : public QMainWindow {
    Q_OBJECT

  public:
    ContainerWindow();
    ~ContainerWindow() override;

    // Takes a sound made outside the window (the command line's).
    void SetSound(std::unique_ptr<EmbeddedSound> sound, const QString& documentPath);

  private:
    void NewSound();
    void InsertFile();
    void OpenDocument();
    void SaveDocument(bool askName);
    void Edit(bool inPlace);
    void OnDeactivated();
    void UpdatePicture();
    void UpdateTitle();
    void Fail(const QString& what, const QString& error);
    // Drops the current sound: its item goes with it.
    void ReplaceSound(std::unique_ptr<EmbeddedSound> sound);

    std::unique_ptr<EmbeddedSound> m_sound;
    SoundSite* m_site = nullptr;
    QLabel* m_caption = nullptr;
    QString m_strPath;
    bool m_bActive = false;
};
