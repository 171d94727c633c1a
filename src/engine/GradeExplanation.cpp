#include "engine/GradeExplanation.h"

#include <algorithm>
#include <utility>

namespace varnok {

std::string ReasonLine(const GradeReason& reason) {
    return std::string(reason.Passed ? "passed  " : "failed  ") + reason.Product + "  " +
           reason.Rule + ": " + reason.Detail;
}

void GradeTrace::Record(int productClass, int stage, bool passed, std::string rule,
                        std::string detail) {
    Step step;
    step.Stage = stage;
    step.Reason.ProductClass = productClass;
    step.Reason.Passed = passed;
    step.Reason.Rule = std::move(rule);
    step.Reason.Detail = std::move(detail);
    steps_.push_back(std::move(step));
}

std::vector<GradeReason> GradeTrace::Verdicts() const {
    std::vector<const Step*> verdicts;
    for (const Step& step : steps_) {
        auto same = std::find_if(verdicts.begin(), verdicts.end(), [&](const Step* v) {
            return v->Reason.ProductClass == step.Reason.ProductClass;
        });
        if (same == verdicts.end()) {
            verdicts.push_back(&step);
        } else if (step.Stage >= (*same)->Stage) {
            *same = &step;
        }
    }
    std::stable_sort(verdicts.begin(), verdicts.end(), [](const Step* a, const Step* b) {
        return a->Reason.ProductClass < b->Reason.ProductClass;
    });
    std::vector<GradeReason> reasons;
    reasons.reserve(verdicts.size());
    for (const Step* step : verdicts) {
        reasons.push_back(step->Reason);
    }
    return reasons;
}

} // namespace varnok
