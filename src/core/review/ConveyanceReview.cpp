#include "core/review/ConveyanceReview.h"

#include "core/Error.h"
#include "core/text/NumberText.h"

namespace pluvane {

std::vector<Finding> ReviewConveyance(const ConveyanceFields& fields,
                                      const ConveyanceOutcome& outcome) {
    std::vector<Finding> out;
    const std::string name = fields.kind == kKindChannel ? "outlet channel" : "outlet pipe";
    const auto add = [&](std::string_view code, std::string message) {
        const ReviewRule& rule = ReviewRuleOf(code);
        out.push_back(Finding{std::string(code), rule.severity, std::nullopt, name,
                              std::move(message), std::string(rule.reference)});
    };
    const std::string q = outcome.designQ ? FormatFixed(*outcome.designQ, 2) + " cfs" : "";
    if (outcome.noStandardSize) {
        add("CONVEYANCE_OVER_CAPACITY", "no standard diameter up to " +
                                            PlainNumberText(kStandardDiametersIn.back()) +
                                            " in carries the design flow " + q + " flowing full");
        return out;
    }
    double velocity = 0.0;
    if (const auto& pipe = outcome.pipe) {
        velocity = pipe->velocityFps;
        const double fullSlow = ReviewRuleOf("PIPE_FULL_SLOW").threshold;
        if (pipe->fullVelocityFps < fullSlow)
            add("PIPE_FULL_SLOW", "the " + PlainNumberText(pipe->diameterIn) + " in pipe flows " +
                                      FormatFixed(pipe->fullVelocityFps, 2) + " ft/s full, below " +
                                      PlainNumberText(fullSlow) +
                                      " ft/s: it does not clean itself");
        if (pipe->overCapacity)
            add("CONVEYANCE_OVER_CAPACITY", "the " + PlainNumberText(pipe->diameterIn) +
                                                " in pipe is over capacity: the design "
                                                "flow " +
                                                q + " exceeds the " +
                                                FormatFixed(pipe->maxFlowCfs, 2) +
                                                " cfs it carries part full");
    } else if (const auto& channel = outcome.channel) {
        velocity = channel->velocityFps;
        if (channel->availableDepthFt && channel->normalDepthFt > *channel->availableDepthFt)
            add("CHANNEL_TOO_SHALLOW", "normal depth " + FormatFixed(channel->normalDepthFt, 2) +
                                           " ft exceeds the available depth " +
                                           PlainNumberText(*channel->availableDepthFt) +
                                           " ft at the design flow " + q);
    } else {
        return out;
    }
    const double slow = ReviewRuleOf("CONVEYANCE_SLOW").threshold;
    const double fast = ReviewRuleOf("CONVEYANCE_FAST").threshold;
    if (velocity < slow)
        add("CONVEYANCE_SLOW", "velocity " + FormatFixed(velocity, 2) + " ft/s at " + q +
                                   " is below " + PlainNumberText(slow) +
                                   " ft/s: sediment settles");
    else if (velocity > fast)
        add("CONVEYANCE_FAST", "velocity " + FormatFixed(velocity, 2) + " ft/s at " + q +
                                   " is above " + PlainNumberText(fast) +
                                   " ft/s: the lining scours");
    return out;
}

std::vector<Finding> ReviewConveyanceAt(const ConveyanceFields& fields,
                                        const std::optional<double>& designFlow) {
    return ReviewConveyance(fields, EvaluateConveyance(fields, designFlow));
}

} // namespace pluvane
