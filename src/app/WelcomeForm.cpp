#include "app/WelcomeForm.h"

namespace varnok::app {
namespace {

const char* const kWelcome =
    "Welcome to Varnok, the bucking trainer.\n\n"
    "Bucking a felled hardwood stem into logs decides most of what the tree is worth. Varnok "
    "lets you practise on 150 sample trees: choose a market (its log rule, grading rules, "
    "products and prices), choose a tree, and place your cuts along the stem with the mouse or "
    "with the length buttons 8' to 16'. Turn the stem with Up and Down (or the right mouse "
    "button) to see its knots, seams and forks; the discs at the cuts show decay, stain and "
    "heart on the cut faces.\n\n"
    "When you are done, Compare shows your logs beside the most valuable pattern for the same "
    "tree, with every log's grade, volume and value. Return takes you back to your cuts.";

} // namespace

TWelcomeForm::TWelcomeForm(QWidget* parent)
    : InfoForm("TWelcomeForm", "Welcome", kWelcome, 14, "Close", parent) {}

} // namespace varnok::app
