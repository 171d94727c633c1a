#include "cli/EvaluationJson.h"

#include <utility>

namespace varnok {

nlohmann::json PieceToJson(const EvaluatedPiece& piece, bool reasons) {
    const EvaluatedLog& log = piece.Log;
    const LogSegment& s = log.Segment;
    nlohmann::json json = {
        {"index", piece.Index},
        {"start", s.StartPosition},
        {"end", s.EndPosition},
        {"length", s.LengthInches},
        {"nominal_length", s.NominalLength},
        {"graded", log.Graded},
        {"sed", s.SED},
        {"led", s.LED},
        {"sweep", static_cast<double>(s.Sweep)},
        {"sweep_deduction", static_cast<double>(s.SweepDeduction)},
        {"deduction", static_cast<double>(s.Deduction)},
        {"net_scale", log.NetScale},
        {"cubic_volume", static_cast<double>(log.CubicVolume)},
        {"saw_grade", s.SawGrade},
        {"veneer_grade", s.VeneerGrade},
        {"roundwood_product", s.RoundwoodProduct},
        {"product_class", s.ProductClass},
        {"product", piece.ProductName},
        {"shown_volume", static_cast<double>(s.ShownVolume)},
        {"value", static_cast<double>(s.Value)},
    };
    if (reasons) {
        nlohmann::json list = nlohmann::json::array();
        for (const GradeReason& reason : piece.Reasons) {
            list.push_back({{"product", reason.Product},
                            {"product_class", reason.ProductClass},
                            {"passed", reason.Passed},
                            {"rule", reason.Rule},
                            {"detail", reason.Detail}});
        }
        json["explain"] = std::move(list);
    }
    return json;
}

nlohmann::json PiecesToJson(const PatternEvaluation& evaluation, bool reasons) {
    nlohmann::json logs = nlohmann::json::array();
    for (const EvaluatedPiece& piece : evaluation.Pieces) {
        logs.push_back(PieceToJson(piece, reasons));
    }
    return logs;
}

std::string ReasonsText(const EvaluatedPiece& piece) {
    std::string text;
    for (const GradeReason& reason : piece.Reasons) {
        text += "      " + ReasonLine(reason) + "\n";
    }
    return text;
}

} // namespace varnok
