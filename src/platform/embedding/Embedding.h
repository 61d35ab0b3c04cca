#pragma once

#include <QPointer>
#include <QSize>
#include <QString>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class QIODevice;
class QMainWindow;
class QMenuBar;
class QPainter;

// Object embedding for containers that drive a server in-process: a container creates a
// server document by class id, asks its item for the extent, a picture and data, stores and
// loads the document through a byte stream, and activates an in-place frame inside one of its
// own widgets, whose bars go onto the container's main window.
namespace kelvane::embedding {

// Drawing aspects a container may ask for.
enum class Aspect : std::uint32_t { Content = 1, Thumbnail = 2, Icon = 4, DocPrint = 8 };

// Data formats by their clipboard numbers.
inline constexpr std::uint32_t kFormatBitmap = 2;
inline constexpr std::uint32_t kFormatWave = 12;

// Control ids of the bars on a frame.
inline constexpr int kToolBarId = 59392;
inline constexpr int kStatusBarId = 59393;
inline constexpr int kResizeBarId = 59395;

// A document's storage inside the container: one stream read or written whole.
class Archive {
  public:
    Archive(QIODevice& device, bool storing) : m_device(device), m_bStoring(storing) {}
    [[nodiscard]] bool IsStoring() const { return m_bStoring; }
    [[nodiscard]] QIODevice& Device() const { return m_device; }
    // A failure of the storage, reported back to the container.
    void Fail() { m_bFailed = true; }
    [[nodiscard]] bool Failed() const { return m_bFailed; }

  private:
    QIODevice& m_device;
    bool m_bStoring;
    bool m_bFailed = false;
};

// What a container sees of an embedded object.
class ServerItem {
  public:
    virtual ~ServerItem() = default;

    // The size in 0.01 mm; false when the item has none for the aspect.
    virtual bool OnGetExtent(Aspect aspect, QSize& size);
    // Draws the object into `size` units of the painter's coordinates.
    virtual bool OnDraw(QPainter& painter, QSize size) = 0;
    // Writes the data of a format announced for delayed rendering; false when it has none.
    virtual bool OnRenderFileData(std::uint32_t format, QIODevice& file);
    virtual void Serialize(Archive& archive) = 0;

    // What the container calls. GetData answers false for a format nobody announced.
    [[nodiscard]] const std::vector<std::uint32_t>& Formats() const { return m_formats; }
    bool GetData(std::uint32_t format, QIODevice& file);

  protected:
    void DelayRenderFileData(std::uint32_t format);

  private:
    std::vector<std::uint32_t> m_formats;
};

// The frame a server shows inside a container while the object is edited in place. It is a
// child of the container's site widget. Its bars go onto the container's main window: the
// toolbars beside the container's own, the status bar in place of the container's (which the
// main window deletes, so a container sets its own again after deactivation).
class InPlaceFrame : public QWidget {
    Q_OBJECT

  public:
    explicit InPlaceFrame(QWidget* site);

    virtual bool OnCreate() { return true; }
    virtual bool OnCreateControlBars(QMainWindow& containerFrame, QWidget& containerDoc) = 0;
    // Takes the bars off the container's frame again.
    virtual void OnRemoveControlBars() {}
    // The menus a container in another process cannot merge into its own: they go onto the
    // window that holds the frame there.
    virtual void AddMenus(QMenuBar&) {}

  signals:
    // The user ended in-place editing (Escape).
    void DeactivateRequested();
};

// A document that can live inside a container.
class ServerDocument : public QObject {
    Q_OBJECT

  public:
    ~ServerDocument() override;

    // The item of the whole document, made on first request and kept.
    ServerItem* GetEmbeddedItem();
    // Storage through the item, as a container's save and load reach it.
    bool SaveToStream(QIODevice& device);
    bool LoadFromStream(QIODevice& device);

    // Shows the in-place frame filling `site` with its bars on `containerFrame`; null on failure.
    InPlaceFrame* ActivateInPlace(QMainWindow& containerFrame, QWidget& site);
    void DeactivateInPlace();
    [[nodiscard]] InPlaceFrame* InPlace() const { return m_pInPlaceFrame; }

    // The document's own storage; the item's Serialize comes here.
    virtual void Serialize(Archive& archive) = 0;
    // Runs a command of the server's by its number; false when it has none such or it is
    // not available now.
    virtual bool RunCommand(std::uint32_t command) = 0;

  signals:
    // The content changed: a container showing the item draws it again.
    void Changed();
    // In-place editing ended, by the user (Escape) or by the container.
    void InPlaceEnded();

  protected:
    virtual std::unique_ptr<ServerItem> OnGetEmbeddedItem() = 0;
    virtual std::unique_ptr<InPlaceFrame> CreateInPlaceFrame(QWidget& site) = 0;

  private:
    std::unique_ptr<ServerItem> m_pItem;
    // Owned by its site as a child widget; deleted here when editing ends.
    QPointer<InPlaceFrame> m_pInPlaceFrame;
};

// Class ids the running program serves, and the documents a container makes from them.
using DocumentFactory = std::function<std::unique_ptr<ServerDocument>()>;
void ConnectTemplate(const QString& classId, DocumentFactory factory);
void RevokeTemplate(const QString& classId);
[[nodiscard]] std::unique_ptr<ServerDocument> CreateInstance(const QString& classId);

}  // namespace kelvane::embedding
