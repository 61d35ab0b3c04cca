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

  protected:
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

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
    static void Report(const QString& line);
    // Drops the current sound: its item goes with it.
    void ReplaceSound(std::unique_ptr<EmbeddedSound> sound);

    std::unique_ptr<EmbeddedSound> m_sound;
    SoundSite* m_site = nullptr;
    QLabel* m_caption = nullptr;
    QString m_strPath;
    bool m_bActive = false;
};
