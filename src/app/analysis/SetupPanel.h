#pragma once

#include <QWidget>
#include <functional>

#include "analysis/AnalysisViewText.h"

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QFormLayout;
class QLabel;
class QLineEdit;
class QSpinBox;

namespace vekaton {

class FilterList;
class ParameterTable;
class PositionPicker;

// The setup of one view: its name, the X and Y values with their bin edges (typed, or equal
// bins over the definition's display range), the Z value and its statistic, the minimum count,
// the colour scale's centre, the filters and the settling time. Rows the view's kind has no
// use for are hidden. Apply (or Enter in a field) asks for the view to be computed again.
class SetupPanel : public QWidget {
    Q_OBJECT

  public:
    SetupPanel(AnalysisKind kind, const ParameterTable& table, std::function<int()> dataBytes,
               QWidget* parent = nullptr);

    // The setup as shown (the source and the open state are the view's, not the panel's).
    // Empty `error` when everything reads; else what to correct, and the view is not changed.
    ViewDefinition Definition(QString* error) const;
    void SetDefinition(const ViewDefinition& view);

    // For tests and keyboard users: the fields themselves.
    PositionPicker& XPicker() const { return *x_; }
    PositionPicker& YPicker() const { return *y_; }
    PositionPicker& ZPicker() const { return *z_; }
    QLineEdit& XEdges() const { return *xEdges_; }
    QLineEdit& YEdges() const { return *yEdges_; }
    FilterList& Filters() const { return *filters_; }
    void ShowProblem(const QString& text);
    void SetName(const QString& name);

  signals:
    void applyRequested();

  private:
    QWidget* EdgesRow(QLineEdit*& edges, QSpinBox*& bins);
    std::optional<BinEdges> ReadEdges(const QLineEdit& edges, const QString& axis,
                                      QStringList& problems) const;

    AnalysisKind kind_;
    const ParameterTable& table_;
    QFormLayout* form_ = nullptr;
    QLineEdit* name_ = nullptr;
    PositionPicker* x_ = nullptr;
    PositionPicker* y_ = nullptr;
    PositionPicker* z_ = nullptr;
    QLineEdit* xEdges_ = nullptr;
    QLineEdit* yEdges_ = nullptr;
    QSpinBox* xBins_ = nullptr;
    QSpinBox* yBins_ = nullptr;
    QComboBox* statistic_ = nullptr;
    QSpinBox* minCount_ = nullptr;
    QCheckBox* centred_ = nullptr;
    QDoubleSpinBox* centre_ = nullptr;
    QCheckBox* share_ = nullptr;
    FilterList* filters_ = nullptr;
    QDoubleSpinBox* settle_ = nullptr;
    QLabel* problem_ = nullptr;
    // What a definition holds that the panel does not show, given back unchanged.
    ViewDefinition kept_;
};

}  // namespace vekaton
