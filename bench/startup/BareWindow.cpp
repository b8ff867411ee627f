// The yardstick for the program's start-up: a bare GTK 4 window of the same size that paints one
// colour and nothing else.
#include <gtk/gtk.h>

int main() {
  gtk_init();
  GtkWidget* window = gtk_window_new();
  gtk_window_set_title(GTK_WINDOW(window), "Bare");
  gtk_window_set_resizable(GTK_WINDOW(window), FALSE);
  GtkWidget* area = gtk_drawing_area_new();
  gtk_drawing_area_set_content_width(GTK_DRAWING_AREA(area), 320);
  gtk_drawing_area_set_content_height(GTK_DRAWING_AREA(area), 480);
  gtk_drawing_area_set_draw_func(
      GTK_DRAWING_AREA(area),
      [](GtkDrawingArea*, cairo_t* cr, int, int, gpointer) {
        cairo_set_source_rgb(cr, 227 / 255.0, 218 / 255.0, 207 / 255.0);
        cairo_paint(cr);
      },
      nullptr, nullptr);
  gtk_window_set_child(GTK_WINDOW(window), area);
  gtk_window_present(GTK_WINDOW(window));
  while (true) g_main_context_iteration(nullptr, TRUE);
}
