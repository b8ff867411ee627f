#include "Scenes.h"

#include <cmath>

namespace {

constexpr double W = 600, H = 400;
constexpr double kPi = 3.14159265358979323846;

void rgb(cairo_t* cr, unsigned hex, double alpha = 1.0) {
  cairo_set_source_rgba(cr, ((hex >> 16) & 0xff) / 255.0, ((hex >> 8) & 0xff) / 255.0,
                        (hex & 0xff) / 255.0, alpha);
}

void verticalGradient(cairo_t* cr, double y0, double y1, unsigned top, unsigned bottom) {
  cairo_pattern_t* p = cairo_pattern_create_linear(0, y0, 0, y1);
  cairo_pattern_add_color_stop_rgb(p, 0, ((top >> 16) & 0xff) / 255.0, ((top >> 8) & 0xff) / 255.0,
                                   (top & 0xff) / 255.0);
  cairo_pattern_add_color_stop_rgb(p, 1, ((bottom >> 16) & 0xff) / 255.0,
                                   ((bottom >> 8) & 0xff) / 255.0, (bottom & 0xff) / 255.0);
  cairo_set_source(cr, p);
  cairo_rectangle(cr, 0, y0, W, y1 - y0);
  cairo_fill(cr);
  cairo_pattern_destroy(p);
}

void box(cairo_t* cr, double x, double y, double w, double h, unsigned hex) {
  rgb(cr, hex);
  cairo_rectangle(cr, x, y, w, h);
  cairo_fill(cr);
}

void disc(cairo_t* cr, double x, double y, double r, unsigned hex, double alpha = 1.0) {
  rgb(cr, hex, alpha);
  cairo_arc(cr, x, y, r, 0, 2 * kPi);
  cairo_fill(cr);
}

void roundedBox(cairo_t* cr, double x, double y, double w, double h, double r, unsigned hex) {
  cairo_new_sub_path(cr);
  cairo_arc(cr, x + w - r, y + r, r, -kPi / 2, 0);
  cairo_arc(cr, x + w - r, y + h - r, r, 0, kPi / 2);
  cairo_arc(cr, x + r, y + h - r, r, kPi / 2, kPi);
  cairo_arc(cr, x + r, y + r, r, kPi, 3 * kPi / 2);
  cairo_close_path(cr);
  rgb(cr, hex);
  cairo_fill(cr);
}

// Rolling hills along the bottom, `base` being their mean height from the top.
void hills(cairo_t* cr, double base, double amplitude, double phase, unsigned hex) {
  cairo_move_to(cr, 0, H);
  for (double x = 0; x <= W; x += 10)
    cairo_line_to(cr, x, base + amplitude * std::sin(x / 90.0 + phase));
  cairo_line_to(cr, W, H);
  cairo_close_path(cr);
  rgb(cr, hex);
  cairo_fill(cr);
}

void assembly(cairo_t* cr) {
  verticalGradient(cr, 0, H, 0x7fb8e6, 0xdcecf7);
  box(cr, 0, 320, W, 80, 0x6a9a4a);
  box(cr, 120, 170, 360, 150, 0xf2ede3);
  box(cr, 100, 150, 400, 24, 0xd9d2c3);
  for (int i = 0; i < 8; ++i) box(cr, 140 + i * 44, 190, 16, 130, 0xcfc6b4);
  rgb(cr, 0x9aa7b0);
  cairo_arc(cr, 300, 150, 70, kPi, 2 * kPi);
  cairo_fill(cr);
  box(cr, 297, 40, 4, 45, 0x555555);
  box(cr, 301, 40, 40, 26, 0xda251d);
  disc(cr, 321, 53, 6, 0xffde00);
}

void traffic(cairo_t* cr) {
  verticalGradient(cr, 0, 220, 0xf6b26b, 0xfde6c4);
  const unsigned towers[] = {0x5b6770, 0x6f7c85, 0x4d5961, 0x7d8a93};
  for (int i = 0; i < 10; ++i) box(cr, i * 62, 90 + (i * 37) % 90, 54, 200, towers[i % 4]);
  box(cr, 0, 250, W, 150, 0x3c3c3c);
  for (int i = 0; i < 8; ++i) box(cr, 20 + i * 80, 322, 44, 6, 0xf0f0f0);
  const unsigned cars[] = {0xd9534f, 0x5bc0de, 0xf0ad4e, 0x5cb85c};
  for (int i = 0; i < 4; ++i) {
    double x = 40 + i * 140, y = i % 2 ? 345 : 272;
    roundedBox(cr, x, y, 90, 34, 8, cars[i]);
    disc(cr, x + 20, y + 34, 9, 0x222222);
    disc(cr, x + 70, y + 34, 9, 0x222222);
  }
}

void globe(cairo_t* cr) {
  verticalGradient(cr, 0, H, 0x0b2545, 0x13315c);
  for (int i = 0; i < 40; ++i) disc(cr, (i * 97) % 600, (i * 53) % 400, 1.5, 0xffffff, 0.8);
  disc(cr, 300, 200, 150, 0x2a7fba);
  rgb(cr, 0x58a55c);
  cairo_move_to(cr, 220, 120);
  cairo_curve_to(cr, 280, 90, 330, 150, 300, 200);
  cairo_curve_to(cr, 270, 250, 210, 230, 200, 180);
  cairo_close_path(cr);
  cairo_fill(cr);
  cairo_move_to(cr, 340, 230);
  cairo_curve_to(cr, 400, 210, 430, 270, 380, 320);
  cairo_curve_to(cr, 350, 330, 320, 280, 340, 230);
  cairo_fill(cr);
  rgb(cr, 0xffffff, 0.35);
  cairo_set_line_width(cr, 2);
  for (int i = 1; i < 4; ++i) {
    cairo_save(cr);
    cairo_translate(cr, 300, 200);
    cairo_scale(cr, i * 0.25, 1);
    cairo_arc(cr, 0, 0, 150, 0, 2 * kPi);
    cairo_restore(cr);
    cairo_stroke(cr);
  }
  cairo_move_to(cr, 150, 200);
  cairo_line_to(cr, 450, 200);
  cairo_stroke(cr);
}

void skyline(cairo_t* cr) {
  verticalGradient(cr, 0, H, 0x1d1b4b, 0x6b3fa0);
  disc(cr, 480, 80, 40, 0xfff4c2);
  for (int i = 0; i < 12; ++i) {
    double x = i * 50, h = 120 + (i * 71) % 170;
    box(cr, x, H - h, 46, h, 0x241e3a);
    for (int r = 0; r < h / 24 - 1; ++r)
      for (int c = 0; c < 3; ++c)
        if ((r + c + i) % 3) box(cr, x + 6 + c * 13, H - h + 12 + r * 24, 8, 10, 0xffd166);
  }
}

void chart(cairo_t* cr) {
  verticalGradient(cr, 0, H, 0xffffff, 0xe8eef3);
  rgb(cr, 0xc8d1d9);
  cairo_set_line_width(cr, 1);
  for (int y = 80; y <= 340; y += 52) {
    cairo_move_to(cr, 60, y);
    cairo_line_to(cr, 560, y);
  }
  cairo_stroke(cr);
  const double bars[] = {90, 130, 110, 170, 150, 210, 240};
  for (int i = 0; i < 7; ++i) box(cr, 80 + i * 68, 340 - bars[i], 44, bars[i], 0x2e86ab);
  rgb(cr, 0xe4572e);
  cairo_set_line_width(cr, 6);
  cairo_move_to(cr, 100, 230);
  for (int i = 1; i < 7; ++i) cairo_line_to(cr, 102 + i * 68, 320 - bars[i] - 20);
  cairo_stroke(cr);
  cairo_move_to(cr, 530, 60);
  cairo_line_to(cr, 560, 90);
  cairo_line_to(cr, 520, 100);
  cairo_close_path(cr);
  cairo_fill(cr);
}

void harbour(cairo_t* cr) {
  verticalGradient(cr, 0, 240, 0x9ad0ec, 0xe3f4fb);
  verticalGradient(cr, 240, H, 0x1f6f8b, 0x0e3f52);
  const unsigned colours[] = {0xd7263d, 0x1b998b, 0xf46036, 0x2e294e, 0xc5d86d};
  roundedBox(cr, 100, 250, 400, 60, 12, 0x333c45);
  for (int row = 0; row < 3; ++row)
    for (int i = 0; i < 8; ++i)
      box(cr, 130 + i * 42, 226 - row * 24, 40, 22, colours[(i + row) % 5]);
  box(cr, 440, 120, 40, 130, 0xf2f2f2);
  box(cr, 40, 60, 12, 190, 0xf0a202);
  box(cr, 40, 60, 150, 10, 0xf0a202);
  box(cr, 170, 70, 3, 80, 0x444444);
}

void stage(cairo_t* cr) {
  box(cr, 0, 0, W, H, 0x140a1f);
  const unsigned lights[] = {0xff6b6b, 0xffd93d, 0x6bcbff, 0xc77dff};
  for (int i = 0; i < 4; ++i) {
    double x = 90 + i * 140;
    rgb(cr, lights[i], 0.35);
    cairo_move_to(cr, x, 0);
    cairo_line_to(cr, x - 90, 330);
    cairo_line_to(cr, x + 90, 330);
    cairo_close_path(cr);
    cairo_fill(cr);
  }
  box(cr, 0, 320, W, 80, 0x5a2a0c);
  box(cr, 0, 0, 60, H, 0x8b0000);
  box(cr, 540, 0, 60, H, 0x8b0000);
  disc(cr, 300, 240, 22, 0x1a1a1a);
  box(cr, 285, 260, 30, 60, 0x1a1a1a);
  box(cr, 318, 230, 4, 90, 0x999999);
}

void film(cairo_t* cr) {
  verticalGradient(cr, 0, H, 0xf7e9d7, 0xe9c46a);
  cairo_save(cr);
  cairo_translate(cr, 300, 200);
  cairo_rotate(cr, -0.25);
  box(cr, -320, -70, 640, 140, 0x222222);
  for (int i = 0; i < 16; ++i) {
    box(cr, -310 + i * 40, -62, 22, 14, 0xf7e9d7);
    box(cr, -310 + i * 40, 48, 22, 14, 0xf7e9d7);
  }
  const unsigned frames[] = {0x264653, 0x2a9d8f, 0xe76f51, 0xf4a261, 0x8ab17d};
  for (int i = 0; i < 5; ++i) box(cr, -300 + i * 124, -38, 110, 76, frames[i]);
  cairo_restore(cr);
}

void pitch(cairo_t* cr) {
  for (int i = 0; i < 8; ++i) box(cr, i * 75, 0, 75, H, i % 2 ? 0x3f9b3f : 0x4aa84a);
  rgb(cr, 0xffffff);
  cairo_set_line_width(cr, 4);
  cairo_rectangle(cr, 30, 30, 540, 340);
  cairo_move_to(cr, 300, 30);
  cairo_line_to(cr, 300, 370);
  cairo_stroke(cr);
  cairo_arc(cr, 300, 200, 55, 0, 2 * kPi);
  cairo_stroke(cr);
  cairo_rectangle(cr, 30, 120, 80, 160);
  cairo_rectangle(cr, 490, 120, 80, 160);
  cairo_stroke(cr);
  disc(cr, 380, 240, 16, 0xffffff);
  disc(cr, 380, 240, 6, 0x222222);
}

void track(cairo_t* cr) {
  verticalGradient(cr, 0, 150, 0x87ceeb, 0xd6f0fa);
  box(cr, 0, 150, W, 250, 0xc0492f);
  rgb(cr, 0xffffff);
  cairo_set_line_width(cr, 3);
  for (int i = 0; i < 6; ++i) {
    cairo_move_to(cr, 0, 170 + i * 40);
    cairo_line_to(cr, W, 150 + i * 50);
  }
  cairo_stroke(cr);
  box(cr, 440, 150, 8, 250, 0xffffff);
  for (int i = 0; i < 3; ++i) {
    double x = 160 + i * 110, y = 230 + i * 40;
    disc(cr, x, y - 50, 12, 0x2b2d42);
    box(cr, x - 8, y - 38, 16, 40, 0x2b2d42);
  }
}

void scales(cairo_t* cr) {
  verticalGradient(cr, 0, H, 0xf5f0e6, 0xd8cfc0);
  box(cr, 296, 70, 8, 270, 0x8c6d31);
  box(cr, 240, 330, 120, 16, 0x8c6d31);
  box(cr, 140, 100, 320, 8, 0x8c6d31);
  rgb(cr, 0x8c6d31);
  cairo_set_line_width(cr, 2);
  for (double x : {160.0, 440.0}) {
    cairo_move_to(cr, x, 104);
    cairo_line_to(cr, x - 40, 220);
    cairo_move_to(cr, x, 104);
    cairo_line_to(cr, x + 40, 220);
    cairo_stroke(cr);
    cairo_arc(cr, x, 220, 50, 0, kPi);
    cairo_fill(cr);
  }
  disc(cr, 300, 70, 14, 0xb8860b);
}

void gavel(cairo_t* cr) {
  verticalGradient(cr, 0, H, 0x3b2f2f, 0x1e1414);
  roundedBox(cr, 150, 300, 300, 40, 10, 0x7a4b2a);
  cairo_save(cr);
  cairo_translate(cr, 300, 190);
  cairo_rotate(cr, -0.6);
  roundedBox(cr, -110, -40, 140, 80, 14, 0x9c6b3f);
  box(cr, 30, -10, 200, 20, 0xb07d4f);
  cairo_restore(cr);
}

void books(cairo_t* cr) {
  verticalGradient(cr, 0, H, 0xfdf6e3, 0xeee1c6);
  box(cr, 0, 340, W, 60, 0xa47148);
  const unsigned covers[] = {0x264653, 0xe76f51, 0x2a9d8f, 0xf4a261, 0x6d597a, 0xe9c46a};
  for (int i = 0; i < 6; ++i)
    roundedBox(cr, 150 - i * 6, 300 - i * 40, 300 + i * 4, 38, 4, covers[i]);
  disc(cr, 480, 90, 40, 0xffb703);
  box(cr, 470, 130, 20, 40, 0x8d99ae);
}

void school(cairo_t* cr) {
  verticalGradient(cr, 0, H, 0x8ecae6, 0xe0f2fb);
  disc(cr, 90, 80, 45, 0xffb703);
  hills(cr, 320, 8, 0.5, 0x80b918);
  box(cr, 140, 160, 320, 170, 0xf6d6a8);
  rgb(cr, 0xbc4749);
  cairo_move_to(cr, 120, 165);
  cairo_line_to(cr, 300, 80);
  cairo_line_to(cr, 480, 165);
  cairo_close_path(cr);
  cairo_fill(cr);
  for (int r = 0; r < 2; ++r)
    for (int c = 0; c < 4; ++c) box(cr, 165 + c * 75, 185 + r * 60, 40, 36, 0x5fa8d3);
  box(cr, 280, 275, 40, 55, 0x6b4226);
}

void medical(cairo_t* cr) {
  verticalGradient(cr, 0, H, 0xe9f5f2, 0xc6e6df);
  rgb(cr, 0xe63946);
  cairo_move_to(cr, 300, 340);
  cairo_curve_to(cr, 120, 230, 150, 60, 300, 130);
  cairo_curve_to(cr, 450, 60, 480, 230, 300, 340);
  cairo_fill(cr);
  box(cr, 280, 150, 40, 120, 0xffffff);
  box(cr, 240, 190, 120, 40, 0xffffff);
}

void vegetables(cairo_t* cr) {
  verticalGradient(cr, 0, H, 0xfefae0, 0xf2e8cf);
  disc(cr, 300, 260, 190, 0xdda15e);
  disc(cr, 300, 250, 170, 0xfefae0);
  disc(cr, 230, 220, 50, 0xe63946);
  disc(cr, 340, 200, 45, 0xf77f00);
  disc(cr, 290, 290, 40, 0x6a994e);
  disc(cr, 380, 280, 35, 0x9d4edd);
  disc(cr, 200, 300, 30, 0xfcbf49);
  box(cr, 226, 160, 6, 16, 0x386641);
}

void phone(cairo_t* cr) {
  verticalGradient(cr, 0, H, 0x3a0ca3, 0x4cc9f0);
  roundedBox(cr, 220, 40, 160, 320, 24, 0x111111);
  roundedBox(cr, 232, 70, 136, 250, 6, 0xf1faee);
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 3; ++c)
      roundedBox(cr, 246 + c * 42, 86 + r * 52, 30, 30, 7, (r * 3 + c) % 2 ? 0x4361ee : 0xf72585);
  disc(cr, 300, 340, 10, 0x444444);
}

void circuit(cairo_t* cr) {
  box(cr, 0, 0, W, H, 0x0b3d2e);
  rgb(cr, 0x52b788);
  cairo_set_line_width(cr, 4);
  for (int i = 0; i < 8; ++i) {
    double y = 40 + i * 45;
    cairo_move_to(cr, 0, y);
    cairo_line_to(cr, 180, y);
    cairo_line_to(cr, 220, 130 + i * 20);
    cairo_move_to(cr, W, y);
    cairo_line_to(cr, 420, y);
    cairo_line_to(cr, 380, 130 + i * 20);
  }
  cairo_stroke(cr);
  roundedBox(cr, 210, 110, 180, 180, 10, 0x1b1b1b);
  roundedBox(cr, 250, 150, 100, 100, 6, 0x95d5b2);
  for (int i = 0; i < 8; ++i) disc(cr, 180, 40 + i * 45, 6, 0xd8f3dc);
}

void riceField(cairo_t* cr) {
  verticalGradient(cr, 0, H, 0xa9def9, 0xe4f9f5);
  hills(cr, 150, 20, 0.0, 0x6c9a8b);
  hills(cr, 220, 14, 1.2, 0x9ccc65);
  hills(cr, 290, 10, 2.1, 0x7cb342);
  hills(cr, 350, 8, 3.0, 0x558b2f);
  rgb(cr, 0xf4e285);
  cairo_move_to(cr, 380, 300);
  cairo_line_to(cr, 440, 300);
  cairo_line_to(cr, 410, 275);
  cairo_close_path(cr);
  cairo_fill(cr);
}

void sea(cairo_t* cr) {
  verticalGradient(cr, 0, 230, 0xffcf99, 0xffeedd);
  disc(cr, 420, 200, 50, 0xff7b54);
  verticalGradient(cr, 230, H, 0x0077b6, 0x03045e);
  rgb(cr, 0xffffff, 0.4);
  cairo_set_line_width(cr, 2);
  for (int i = 0; i < 6; ++i) {
    cairo_move_to(cr, 60 + i * 80, 260 + i * 22);
    cairo_line_to(cr, 120 + i * 80, 260 + i * 22);
  }
  cairo_stroke(cr);
  rgb(cr, 0x5c3d2e);
  cairo_move_to(cr, 120, 280);
  cairo_line_to(cr, 260, 280);
  cairo_line_to(cr, 240, 305);
  cairo_line_to(cr, 140, 305);
  cairo_close_path(cr);
  cairo_fill(cr);
  box(cr, 188, 180, 4, 100, 0x5c3d2e);
  rgb(cr, 0xe85d04);
  cairo_move_to(cr, 192, 185);
  cairo_line_to(cr, 250, 265);
  cairo_line_to(cr, 192, 265);
  cairo_close_path(cr);
  cairo_fill(cr);
}

}  // namespace

const std::vector<Scene>& scenes() {
  static const std::vector<Scene> all = {
      {"quoc-hoi", true, assembly},   {"giao-thong", false, traffic}, {"dia-cau", false, globe},
      {"thanh-pho", true, skyline},   {"bieu-do", false, chart},      {"cang-bien", true, harbour},
      {"san-khau", true, stage},      {"dien-anh", false, film},      {"san-bong", true, pitch},
      {"duong-chay", false, track},   {"can-cong-ly", false, scales}, {"toa-an", true, gavel},
      {"sach-vo", true, books},       {"truong-hoc", false, school},  {"chu-thap", false, medical},
      {"rau-cu", true, vegetables},   {"dien-thoai", true, phone},    {"vi-mach", false, circuit},
      {"ruong-lua", true, riceField}, {"bien", false, sea},
  };
  return all;
}
