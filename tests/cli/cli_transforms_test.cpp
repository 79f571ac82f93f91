// palvex-cli's --trim, parsed and applied in process as the tool does it, so that a fault in the
// transforms shows among the unit tests and not only in the end-to-end script.

#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "cli/cli_operations.h"
#include "cli/cli_options.h"
#include "support/test_support.h"

namespace palvex::cli {
namespace {

constexpr Colour kKey = Rgb(0, 255, 0);

// Red green blue over white black yellow, as the end-to-end script draws it.
Bitmap Picture() {
    Bitmap image;
    EXPECT_TRUE(image.Create(3, 2));
    const Colour colours[] = {Rgb(255, 0, 0),     Rgb(0, 255, 0), Rgb(0, 0, 255),
                              Rgb(255, 255, 255), Rgb(0, 0, 0),   Rgb(255, 255, 0)};
    for (int i = 0; i < 6; ++i) {
        image.WritePixel(i % 3, i / 3, colours[i]);
    }
    return image;
}

struct Saved {
    OperationResult result = OperationResult::Failed;
    Bitmap image;
    std::string error;
};

// `save --key 00FF00 <edits> --format png -o out.png tf.png` on the picture.
Saved Save(std::vector<std::string> edits) {
    std::vector<std::string> args{"save", "--key", "00FF00"};
    args.insert(args.end(), edits.begin(), edits.end());
    args.insert(args.end(), {"--format", "png", "-o", "out.png", "tf.png"});
    Saved run;
    const std::optional<Options> options = ParseOptions(args, run.error);
    EXPECT_TRUE(options.has_value()) << run.error;
    if (!options) {
        return run;
    }
    test::RecordingPrompter prompter;
    run.image = Picture();
    run.result = ApplyOperations(*options, run.image, kKey, prompter, run.error);
    return run;
}

TEST(CliTrim, KeepsTheAreaUpToTheImagesEdges) {
    const Saved trimmed = Save({"--trim", "1,0,2,2"});
    ASSERT_EQ(trimmed.result, OperationResult::Done) << trimmed.error;
    ASSERT_EQ(trimmed.image.Width(), 2);
    ASSERT_EQ(trimmed.image.Height(), 2);
    EXPECT_EQ(trimmed.image.ReadPixel(0, 0), Rgb(0, 255, 0));
    EXPECT_EQ(trimmed.image.ReadPixel(1, 1), Rgb(255, 255, 0));

    const Saved flipThenTrim = Save({"--flip-h", "--trim", "0,0,1,1"});
    ASSERT_EQ(flipThenTrim.result, OperationResult::Done) << flipThenTrim.error;
    EXPECT_EQ(flipThenTrim.image.ReadPixel(0, 0), Rgb(0, 0, 255));
    const Saved trimThenFlip = Save({"--trim", "0,0,1,1", "--flip-h"});
    ASSERT_EQ(trimThenFlip.result, OperationResult::Done) << trimThenFlip.error;
    EXPECT_EQ(trimThenFlip.image.ReadPixel(0, 0), Rgb(255, 0, 0));
}

TEST(CliTrim, AnAreaReachingPastTheImageFailsAndSaysWhy) {
    const Saved outside = Save({"--trim", "2,0,2,2"});
    EXPECT_EQ(outside.result, OperationResult::Failed);
    EXPECT_NE(outside.error.find("not inside the 3 x 2 image"), std::string::npos) << outside.error;
}

}  // namespace
}  // namespace palvex::cli
