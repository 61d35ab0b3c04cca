#pragma once

#include <QDialog>

#include "batch/BatchConversion.h"

class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;

namespace kelvane {

class CBatchProgressDlg;

// "Batch Conversion": the input files, the filter chain with each filter's settings, the
// output format with its sub-format and the output folder. OK runs the batch in a modeless
// progress window, then closes. The batch itself (files, chain, format) is kept by the engine;
// the lists show it.
class CBatchFileDialog : public QDialog {
    Q_OBJECT

  public:
    explicit CBatchFileDialog(QWidget* parent = nullptr);
    ~CBatchFileDialog() override;

    [[nodiscard]] const BatchConversion& Batch() const { return m_batch; }

    // What the buttons do.
    void OnAdd();
    void AddInputs(const QStringList& paths);
    void OnRemove();
    void OnAddFilter();
    void OnRemoveFilter();
    void OnFormatChanged(int index);
    void OnOptions();
    void OnOutputPath();

    QListWidget* m_listInput;
    QListWidget* m_listAvailable;
    QListWidget* m_listChain;
    QComboBox* m_comboFormat;
    QPushButton* m_buttonAdd;
    QPushButton* m_buttonRemove;
    QPushButton* m_buttonAddFilter;     // ">>"
    QPushButton* m_buttonRemoveFilter;  // "<<"
    QPushButton* m_buttonOptions;
    QPushButton* m_buttonOutputPath;
    QLabel* m_labelTotal;
    QLabel* m_labelFormat;
    QLabel* m_labelOutputPath;

  signals:
    // The run's window is shown; it is destroyed before accept() returns.
    void progressShown(CBatchProgressDlg* window);

  public slots:
    void accept() override;

  private:
    void UpdateTotal();
    void SetFormatText(const QString& text);
    void RunBatch();

    BatchConversion m_batch;
};

}  // namespace kelvane
