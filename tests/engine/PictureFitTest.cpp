// Where the picture sits in windows of several shapes, and where pointer
// positions fall on the grid. Nothing here opens a window.
#include "PictureFit.h"

#include <gtest/gtest.h>

namespace {

const sf::Vector2u PICTURE(1024, 768);
const sf::Vector2u GRID(80, 24);

struct Pointer {
  sf::Vector2u window;
  float x, y;     // window pixels
  float col, row; // cells
};

TEST(PictureFit, ThePointerFallsOnTheCellDrawnUnderItAtEverySizeAndOverTheBars) {
  const Pointer pointers[] = {
      // The first size: a pixel is a picture pixel.
      {{1024, 768}, 600, 384, 50, 12},
      {{1024, 768}, 606, 400, 50.5f, 12.5f},
      // Twice the size.
      {{2048, 1536}, 1024, 768, 42.667f, 12},
      {{2048, 1536}, 1200, 800, 50, 12.5f},
      // 16:9, bars left and right: the picture is 1200 pixels wide from x 200.
      {{1600, 900}, 200, 0, 0, 0},
      {{1600, 900}, 903, 450, 49.991f, 12},
      {{1600, 900}, 100, 450, -7.111f, 12},
      {{1600, 900}, 1500, 450, 92.444f, 12},
      // 4:5, bars above and below: the picture at its own size from y 256.
      {{1024, 1280}, 600, 640, 50, 12},
      {{1024, 1280}, 600, 100, 50, -4.875f},
      {{1024, 1280}, 600, 1100, 50, 26.375f},
      // A fullscreen 2560 x 1600: 2133 pixels wide from x 213.
      {{2560, 1600}, 1280, 800, 42.681f, 12},
      {{2560, 1600}, 100, 800, -4.52f, 12},
  };
  for (const Pointer &pointer : pointers) {
    const qm::PictureFit fit(pointer.window, PICTURE, GRID);
    const qm::Vector cells = fit.windowToCells(qm::Vector(pointer.x, pointer.y));
    EXPECT_NEAR(cells.getX(), pointer.col, 0.001f)
        << pointer.window.x << " x " << pointer.window.y << " at " << pointer.x;
    EXPECT_NEAR(cells.getY(), pointer.row, 0.001f)
        << pointer.window.x << " x " << pointer.window.y << " at " << pointer.y;
  }
  // The first size's numbers are exactly the pixels over the cell size.
  const qm::PictureFit first(PICTURE, PICTURE, GRID);
  EXPECT_EQ(first.windowToCells(qm::Vector(100, 100)).getX(), 100.0f / 12);

  EXPECT_EQ(qm::PictureFit({1600, 900}, PICTURE, GRID).getPictureRect(),
            sf::IntRect(200, 0, 1200, 900));
  EXPECT_EQ(qm::PictureFit({1024, 1280}, PICTURE, GRID).getPictureRect(),
            sf::IntRect(0, 256, 1024, 768));
  EXPECT_EQ(qm::PictureFit({2560, 1600}, PICTURE, GRID).getPictureRect(),
            sf::IntRect(213, 0, 2133, 1600));
}

TEST(PictureFit, CellsAndCharactersAreDrawnAtTheWindowsScaleOnWholePixelsWhenScaled) {
  const qm::PictureFit first(PICTURE, PICTURE, GRID);
  EXPECT_EQ(first.getCharSize(), 24u);
  // Between cells at the first size, as the grid has always been drawn.
  EXPECT_EQ(first.textPosition(qm::Vector(37.6f, 21)), sf::Vector2f(37.6f * 12, 672));

  const qm::PictureFit twice({2048, 1536}, PICTURE, GRID);
  EXPECT_EQ(twice.getCellSize(), sf::Vector2f(24, 64));
  EXPECT_EQ(twice.getCharSize(), 48u);
  EXPECT_EQ(twice.textPosition(qm::Vector(37.6f, 21)), sf::Vector2f(902, 1344));

  const qm::PictureFit wide({1600, 900}, PICTURE, GRID);
  EXPECT_EQ(wide.getCharSize(), 28u);
  EXPECT_EQ(wide.textPosition(qm::Vector(3, 1)), sf::Vector2f(42, 38));
  EXPECT_EQ(wide.backgroundRect(sf::Vector2f(42, 38)),
            sf::FloatRect(40.59375f, 45.5f, 14.0625f, 37.5f));
}

} // namespace
