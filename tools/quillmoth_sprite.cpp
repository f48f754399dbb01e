// quillmoth-sprite: checks sprite files by loading each one with the engine's
// own loader, so that an author sees exactly what the game will make of it:
// its frames, size, colour and slowdown, or the loader's error with the line,
// followed by plain words where that error misleads, and a warning for a
// sprite that loads but cannot be drawn. Usage: see HELP below.

#include "Color.h"
#include "LineReader.h"
#include "LogManager.h"
#include "RegularFile.h"
#include "ResourceManager.h"
#include "Sprite.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

const char *const USAGE = "usage: quillmoth-sprite [--show] FILE...";
const char *const HELP =
    "Checks sprite files with the game's own loader: prints what it made of each\n"
    "file, or the loader's error with its line number, then what to look at when\n"
    "that error misleads and a warning for a sprite that loads but cannot be drawn.\n"
    "  --show  also draw every frame, in colour on a terminal (NO_COLOR: plain)\n"
    "  --help  print this and exit\n"
    "Exit status: 0 when every file loads, 1 when one does not, 2 on bad usage.\n";
const std::string LOG_PREFIX = "Message : ";
const std::string CHECKED_LABEL = "quillmoth-sprite";

// The loader reports its errors only to the engine's log, which it always
// opens as quillmoth.log in the working directory. The log is therefore
// started inside a temporary folder, and each load's lines are read back from
// there, so that no log is left beside the files being checked.
class LogCapture {
public:
  // -1 when the temporary folder or the log in it cannot be made.
  int start() {
    const char *p_tmpdir = std::getenv("TMPDIR");
    std::string dir_template = p_tmpdir && p_tmpdir[0] != '\0' ? p_tmpdir : "/tmp";
    dir_template += "/quillmoth-sprite.XXXXXX";
    if (!mkdtemp(dir_template.data())) {
      return -1;
    }
    dir = dir_template;
    const int previous_dir = open(".", O_RDONLY | O_DIRECTORY);
    if (previous_dir < 0) {
      return -1;
    }
    int result = -1;
    if (chdir(dir.c_str()) == 0) {
      qm::LogManager &log_manager = qm::LogManager::getInstance();
      log_manager.startUp();
      log_manager.setFlush(true);
      // Back at once: the files to check are named relative to where the
      // user stands.
      const bool is_back = fchdir(previous_dir) == 0;
      result = is_back && access(logPath().c_str(), W_OK) == 0 ? 0 : -1;
    }
    close(previous_dir);
    return result;
  }

  ~LogCapture() {
    qm::LogManager::getInstance().shutDown();
    if (!dir.empty()) {
      std::remove(logPath().c_str());
      rmdir(dir.c_str());
    }
  }

  // The messages written since the last call, without their prefix.
  std::vector<std::string> newMessages() {
    std::vector<std::string> messages;
    std::ifstream log_file(logPath(), std::ios::binary);
    log_file.seekg(read_offset);
    std::string line;
    while (std::getline(log_file, line)) {
      if (line.compare(0, LOG_PREFIX.size(), LOG_PREFIX) == 0) {
        line.erase(0, LOG_PREFIX.size());
      }
      messages.push_back(line);
    }
    log_file.clear();
    log_file.seekg(0, std::ios::end);
    read_offset = log_file.tellg();
    return messages;
  }

private:
  std::string logPath() const { return dir + "/" + qm::LOGFILE_NAME; }

  std::string dir;
  std::streamoff read_offset = 0;
};

// The names a sprite file uses for its colours.
std::string colorName(qm::Color color) {
  static const char *const COLOR_NAMES[] = {"black", "red",     "green", "yellow",
                                            "blue",  "magenta", "cyan",  "white"};
  if (color < qm::BLACK || color > qm::WHITE) {
    return "undefined";
  }
  return COLOR_NAMES[color];
}

// The escape that draws as the game does: the game's colours are at full
// intensity, hence the bright variants, on the game's black background.
std::string colorEscape(qm::Color color) {
  const int foreground = color == qm::BLACK ? 30 : 90 + color;
  return "\033[" + std::to_string(foreground) + ";40m";
}

// The game draws each byte of a row in its own cell; control characters
// would move the terminal's cursor or change its state instead, so they are
// shown as '?', as are bytes beyond ASCII to keep the columns in line.
std::string printableRow(const std::string &row) {
  std::string shown = row;
  for (char &ch : shown) {
    const unsigned char byte = static_cast<unsigned char>(ch);
    if (byte < 0x20 || byte >= 0x7f) {
      ch = '?';
    }
  }
  return shown;
}

void showFrames(const qm::Sprite &sprite, bool use_color) {
  const int width = sprite.getWidth();
  for (int i = 0; i < sprite.getFrameCount(); i++) {
    std::printf("  frame %d:\n", i + 1);
    const std::string frame_str = sprite.getFrame(i).getString();
    for (size_t start = 0; width > 0 && start < frame_str.size();
         start += static_cast<size_t>(width)) {
      const std::string row = printableRow(frame_str.substr(start, static_cast<size_t>(width)));
      if (use_color) {
        std::printf("    %s%s\033[0m\n", colorEscape(sprite.getColor()).c_str(), row.c_str());
      } else {
        std::printf("    %s\n", row.c_str());
      }
    }
  }
}

// Whether a header line starts, after blanks and a sign, with a digit: the
// loader reads any other line as 0.
bool holdsNumber(const std::string &line) {
  size_t pos = 0;
  while (pos < line.size() && std::isspace(static_cast<unsigned char>(line[pos]))) {
    pos++;
  }
  if (pos < line.size() && (line[pos] == '+' || line[pos] == '-')) {
    pos++;
  }
  return pos < line.size() && std::isdigit(static_cast<unsigned char>(line[pos]));
}

// What an author should look at where the loader's message misleads: what
// stands in the file's place, a file that ends inside the header (the loader
// reads the lines it lacks as empty) and header lines without a number.
std::vector<std::string> authorHints(const std::string &filename) {
  struct stat status;
  if (stat(filename.c_str(), &status) != 0) {
    return {};
  }
  if (S_ISDIR(status.st_mode)) {
    return {"is a folder"};
  }
  qm::RegularFile file;
  if (file.open(filename) != 0) {
    return {S_ISREG(status.st_mode) ? "cannot be read" : "is not a regular file"};
  }
  std::vector<std::string> hints;
  qm::LineReader reader(file);
  std::string line;
  for (int n = 1; n <= qm::SPRITE_HEADER_LINES; n++) {
    // The loader has said that the line is too long; the rest of it is no
    // line of its own.
    if (reader.readLine(line, qm::MAX_SPRITE_HEADER_LINE_LENGTH) != 0) {
      break;
    }
    if (reader.isPastEnd()) {
      hints.push_back("ends at line " + std::to_string(n - 1) + "; a sprite needs " +
                      std::to_string(qm::SPRITE_HEADER_LINES) + " header lines");
      break;
    }
    if (n < qm::SPRITE_HEADER_LINES && !holdsNumber(line)) {
      hints.push_back("line " + std::to_string(n) + " holds no number; read as 0");
    }
  }
  return hints;
}

// What the game does with a sprite that loads but cannot be drawn; empty for
// one that can.
std::string drawWarning(const qm::Sprite &sprite) {
  if (sprite.getFrameCount() == 0) {
    return "warning: no frames; the game draws nothing for it and writes \"Error! Cannot draw "
           "non-existent frame\" to its log on every pass";
  }
  for (const auto &[what, size] :
       {std::pair{"width", sprite.getWidth()}, std::pair{"height", sprite.getHeight()}}) {
    if (size <= 0) {
      return std::string("warning: ") + what + " " + std::to_string(size) +
             "; the game draws nothing for it";
    }
  }
  return "";
}

// 0 when the file loads; otherwise -1, with the loader's messages on the file's line.
int checkFile(const std::string &filename, LogCapture &log, bool show, bool use_color) {
  qm::ResourceManager &resource_manager = qm::ResourceManager::getInstance();
  const int result = resource_manager.loadSprite(filename, CHECKED_LABEL);
  const std::vector<std::string> messages = log.newMessages();
  const qm::Sprite *p_sprite = resource_manager.getSprite(CHECKED_LABEL);
  if (result != 0) {
    std::string reason;
    for (const std::string &message : messages) {
      reason += (reason.empty() ? "" : "; ") + message;
    }
    std::printf("%s: %s\n", filename.c_str(), reason.empty() ? "not loaded" : reason.c_str());
  } else {
    std::printf("%s: %d frame%s, %d x %d, %s, slowdown %d\n", filename.c_str(),
                p_sprite->getFrameCount(), p_sprite->getFrameCount() == 1 ? "" : "s",
                p_sprite->getWidth(), p_sprite->getHeight(),
                colorName(p_sprite->getColor()).c_str(), p_sprite->getSlowdown());
  }
  std::vector<std::string> notes = authorHints(filename);
  const std::string warning = result == 0 ? drawWarning(*p_sprite) : "";
  if (!warning.empty()) {
    notes.push_back(warning);
  }
  for (const std::string &note : notes) {
    std::printf("%s: %s\n", filename.c_str(), note.c_str());
  }
  if (result != 0) {
    return -1;
  }
  if (show) {
    showFrames(*p_sprite, use_color);
  }
  // One sprite at a time, so that any number of files fits the sprite table.
  resource_manager.unloadSprite(CHECKED_LABEL);
  return 0;
}

} // namespace

int main(int argc, char **argv) {
  bool show = false;
  std::vector<std::string> filenames;
  bool options_done = false;
  for (int i = 1; i < argc; i++) {
    const std::string arg = argv[i];
    if (!options_done && arg == "--show") {
      show = true;
    } else if (!options_done && (arg == "--help" || arg == "-h")) {
      std::printf("%s\n%s", USAGE, HELP);
      return 0;
    } else if (!options_done && arg == "--") {
      options_done = true;
    } else if (!options_done && arg.size() > 1 && arg[0] == '-') {
      std::fprintf(stderr, "quillmoth-sprite: unknown option %s\n%s\n", arg.c_str(), USAGE);
      return 2;
    } else {
      filenames.push_back(arg);
    }
  }
  if (filenames.empty()) {
    std::fprintf(stderr, "%s\n", USAGE);
    return 2;
  }

  // The resource manager also holds the sound slots, which open the audio
  // device when made. Checking sprites has no use for a sound card, and on a
  // machine without one the audio library would fill the terminal with
  // complaints.
  setenv("ALSOFT_DRIVERS", "null", 1);
  const char *p_no_color = std::getenv("NO_COLOR");
  const bool use_color = isatty(STDOUT_FILENO) && !(p_no_color && p_no_color[0] != '\0');

  LogCapture log;
  if (log.start() != 0) {
    std::fprintf(stderr, "quillmoth-sprite: cannot open a log in a temporary folder\n");
    return 1;
  }
  qm::ResourceManager::getInstance().startUp();
  int status = 0;
  for (const std::string &filename : filenames) {
    if (checkFile(filename, log, show, use_color) != 0) {
      status = 1;
    }
  }
  qm::ResourceManager::getInstance().shutDown();
  return status;
}
