#include "app/dashboard/ParameterChecks.h"

#include <QStringList>

#include "app/dashboard/DashboardTexts.h"

namespace vekaton {

// The definition a position's list row names; a byte inside a multi-byte value says whose.
QString PositionListText(const ParameterTable& table, int position) {
    const ParameterRecord& record = table.At(position);
    QString text;
    if (record.IsDigital) {
        QStringList bits;
        for (const std::string& bit : record.Descriptions) {
            if (!bit.empty()) {
                bits.append(QString::fromStdString(bit));
            }
        }
        text = bits.isEmpty() ? QString(dashtexts::kEditorNotDefined) : bits.join(", ");
    } else {
        text = record.Descriptions[0].empty() ? QString(dashtexts::kEditorNotDefined)
                                              : QString::fromStdString(record.Descriptions[0]);
    }
    if (!record.IsDigital && record.Descriptions[0].empty()) {
        for (int first = position - 1; first >= 1; --first) {
            const ParameterRecord& earlier = table.At(first);
            if (!earlier.IsDigital && earlier.ByteCount > position - first) {
                text = QString(dashtexts::kEditorPartOf).arg(position - first + 1).arg(first);
                break;
            }
        }
    }
    return QString("%1   %2").arg(position, 3).arg(text);
}

QString EditProblemText(const EditCheck& check, int position) {
    switch (check.problem) {
        case EditProblem::None:
            return {};
        case EditProblem::PositionOutside:
            return dashtexts::kProblemPosition;
        case EditProblem::ByteCountOutside:
            return QString(dashtexts::kProblemBytes)
                .arg(position)
                .arg(ParameterTable::kLastPosition - position + 1);
        case EditProblem::CommaInDescription:
            return dashtexts::kProblemComma;
        case EditProblem::DescriptionMissing:
            return dashtexts::kProblemNoDescription;
        case EditProblem::BitOutside:
            return dashtexts::kProblemBit;
        case EditProblem::SlotsFull:
            return QString(dashtexts::kProblemFull).arg(check.lastPosition);
    }
    return {};
}

QString TryFormula(FormulaFrontEnd& formulas, const ParameterTable& table,
                   const ParameterEdit& edit, QString* result) {
    const ParameterDefinition& d = edit.definition;
    const int count = std::max(1, d.byteCount);
    std::array<int, 5> bytes{};
    QStringList hex;
    for (int i = 0; i < count && i < 5; ++i) {
        const ParameterRecord* record = table.Find(edit.position + i);
        bytes[static_cast<std::size_t>(i)] = record != nullptr ? record->RawByte : 0;
        hex.append(
            "$" +
            QString("%1").arg(bytes[static_cast<std::size_t>(i)], 2, 16, QChar('0')).toUpper());
    }
    if (d.formula.empty()) {
        *result = QString(dashtexts::kEditorRaw).arg(hex.value(0));
        return {};
    }
    const CompiledFormula* formula = formulas.Prepare(d.formula);
    const FormulaBuildError error = formulas.BuildError(*formula);
    if (!error.message.empty() || !error.className.empty()) {
        QString message = QString::fromStdString(std::string(error.message));
        message.replace('\r', '\n');
        return QString(dashtexts::kProblemFormula).arg(message.trimmed());
    }
    const FormulaOutcome outcome = formulas.Evaluate(*formula, bytes, count);
    if (outcome.status != FormulaStatus::Ok) {
        *result = QString::fromStdString(std::string(outcome.message));
        return {};
    }
    *result = QString(dashtexts::kEditorValue)
                  .arg(QString::number(outcome.value, 'g', 10), hex.join(' '));
    return {};
}

}  // namespace vekaton
