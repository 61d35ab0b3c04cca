#pragma once

#include <QDialog>
#include <vector>

#include "document/DocumentManifest.h"

class QPushButton;
class QTreeWidget;

namespace kelvane {

// "Recover Sounds": the documents a copy that died left, with the default button Recover
// (Accepted) and Discard (kDiscard). Escape or closing the window decides nothing: the sounds
// wait for the next start.
class CRecoverDlg : public QDialog {
    Q_OBJECT

  public:
    static constexpr int kDiscard = 2;

    CRecoverDlg(const std::vector<DocumentManifest>& documents, QWidget* parent = nullptr);

    [[nodiscard]] QTreeWidget* List() const { return m_list; }
    [[nodiscard]] QPushButton* RecoverButton() const { return m_buttonRecover; }
    [[nodiscard]] QPushButton* DiscardButton() const { return m_buttonDiscard; }

  private:
    QTreeWidget* m_list;
    QPushButton* m_buttonRecover;
    QPushButton* m_buttonDiscard;
};

}  // namespace kelvane
