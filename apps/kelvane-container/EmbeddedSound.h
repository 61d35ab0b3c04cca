#pragma once

#include <QByteArray>
#include <QImage>
#include <QObject>
#include <QSize>
#include <QString>
#include <memory>

class ComVantrelKelvaneEmbeddingItemInterface;

// A sound embedded in the container's document: an item of the editor's embedding service,
// created empty or from storage bytes kept in the document earlier.
class EmbeddedSound : public QObject {
    Q_OBJECT

  public:
    // The service's class id, the key a container keeps with the storage.
    static constexpr char kClassId[] = "{1A50CA83-E632-11D0-A07D-00A0240B2F28}";

    ~EmbeddedSound() override;
    // Null with `error` set when the service refused or could not be reached.
    static std::unique_ptr<EmbeddedSound> Create(const QByteArray& storage, QString* error);

    // Extent in 0.01 mm, picture (PNG, or SVG when `mimeType` says so), Wave data, storage.
    [[nodiscard]] QSize Extent(QString* error = nullptr) const;
    [[nodiscard]] QByteArray Picture(const QString& mimeType, QSize size,
                                     QString* error = nullptr) const;
    [[nodiscard]] QByteArray WaveData(QString* error = nullptr) const;
    [[nodiscard]] QByteArray Storage(QString* error = nullptr) const;
    bool RunCommand(uint command, QString* error = nullptr);
    // True when the item edits inside `window`, false when it opened a window of its own.
    bool Activate(quint64 window, QSize size, QString* error = nullptr);
    void Resize(QSize size);
    void Deactivate();
    [[nodiscard]] QString Path() const;

  signals:
    void Changed();
    void Deactivated();

  private:
    explicit EmbeddedSound(std::unique_ptr<ComVantrelKelvaneEmbeddingItemInterface> item);

    std::unique_ptr<ComVantrelKelvaneEmbeddingItemInterface> m_item;
};

// The container's document: a class id and the item's storage.
bool WriteContainerDocument(const QString& path, const QByteArray& storage);
[[nodiscard]] bool ReadContainerDocument(const QString& path, QByteArray& storage);
