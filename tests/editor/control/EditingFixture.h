// Test helper: the editor fixture counting OnChange and pressing keys on the control.
#pragma once

#include "EditorFixture.h"

namespace tomery::editor::testing {

class EditingTest : public EditorTest {
  protected:
    using Pos = std::pair<std::int32_t, std::int32_t>;  // display line, column

    void SetUp() override {
        EditorTest::SetUp();
        Editor().OnChange = [this](TOvcCustomEditor&) { ++changes_; };
    }
    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(&Editor(), key, modifiers);
    }

    int changes_ = 0;  ///< OnChange calls so far
};

}  // namespace tomery::editor::testing
