/* A peer for the display benchmark: libtcod drawing the same full 80 x 24
 * grid with the game's font at 12 x 32 cells, every cell changing each frame,
 * OpenGL 2 renderer, vsync off. Built and run by bench/run only.
 *
 * Usage: libtcod_grid FONT_FILE SECONDS
 * Prints one line of JSON: the frames timed and the mean milliseconds each. */
#include <SDL.h>
#include <libtcod.h>

#include <stdio.h>
#include <stdlib.h>
#include <time.h>

static const TCOD_color_t COLORS[7] = {{255, 0, 0},   {0, 255, 0},   {255, 255, 0},  {0, 0, 255},
                                       {255, 0, 255}, {0, 255, 255}, {255, 255, 255}};

static double now_ms(void) {
  struct timespec now;
  clock_gettime(CLOCK_MONOTONIC, &now);
  return now.tv_sec * 1000.0 + now.tv_nsec / 1000000.0;
}

/* The display benchmark's grid: consecutive frame numbers differ in every cell. */
static void draw_grid(TCOD_Console *console, int frame_number) {
  const TCOD_color_t black = {0, 0, 0};
  for (int row = 0; row < 24; row++) {
    for (int col = 0; col < 80; col++) {
      const int seed = col * 7 + row * 13 + frame_number;
      TCOD_console_put_char_ex(console, col, row, '!' + seed % 94, COLORS[seed % 7], black);
    }
  }
}

int main(int argc, char **argv) {
  if (argc != 3 && argc != 5) {
    fprintf(stderr, "usage: %s FONT_FILE SECONDS [WIDTH HEIGHT]\n", argv[0]);
    return 2;
  }
  TCOD_Tileset *tileset = TCOD_load_truetype_font_(argv[1], 12, 32);
  if (tileset == NULL) {
    fprintf(stderr, "libtcod_grid: %s\n", TCOD_get_error());
    return 1;
  }
  TCOD_ContextParams params = {0};
  params.tcod_version = TCOD_COMPILEDVERSION;
  params.columns = 80;
  params.rows = 24;
  params.renderer_type = TCOD_RENDERER_OPENGL2;
  params.tileset = tileset;
  params.vsync = 0;
  params.window_title = "libtcod grid";
  /* A window of another size: the console is drawn stretched to it. */
  if (argc == 5) {
    params.pixel_width = atoi(argv[3]);
    params.pixel_height = atoi(argv[4]);
  }
  TCOD_Context *context = NULL;
  if (TCOD_context_new(&params, &context) != TCOD_E_OK) {
    fprintf(stderr, "libtcod_grid: %s\n", TCOD_get_error());
    return 1;
  }
  TCOD_Console *console = TCOD_console_new(80, 24);
  const double seconds = atof(argv[2]);
  int frame_number = 0;
  /* Warm up: the first frames build the glyph atlas. */
  for (; frame_number < 30; frame_number++) {
    draw_grid(console, frame_number);
    TCOD_context_present(context, console, NULL);
  }
  const double start = now_ms();
  int timed = 0;
  while (now_ms() - start < seconds * 1000.0) {
    draw_grid(console, frame_number++);
    TCOD_context_present(context, console, NULL);
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
    }
    timed++;
  }
  const double elapsed = now_ms() - start;
  printf("{\"frames\": %d, \"ms_per_frame\": %.4f}\n", timed, elapsed / timed);
  TCOD_console_delete(console);
  TCOD_context_delete(context);
  TCOD_tileset_delete(tileset);
  return 0;
}
