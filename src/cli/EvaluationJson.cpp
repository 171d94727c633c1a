#include "cli/EvaluationJson.h"

namespace varnok {

nlohmann::json PieceToJson(const EvaluatedPiece& piece) {
    const EvaluatedLog& log = piece.Log;
    const LogSegment& s = log.Segment;
    return {
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
}

nlohmann::json PiecesToJson(const PatternEvaluation& evaluation) {
    nlohmann::json logs = nlohmann::json::array();
    for (const EvaluatedPiece& piece : evaluation.Pieces) {
        logs.push_back(PieceToJson(piece));
    }
    return logs;
}

} // namespace varnok
