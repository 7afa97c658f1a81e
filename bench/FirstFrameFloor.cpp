// The least a start-up can take: open a borderless SDL window of the setup's
// size, paint it white once and end. bench/run-all times it beside the host setup
// run to its first frame.
//
//   first_frame_floor WIDTH HEIGHT
#include <SDL.h>

#include <cstdlib>

int main(int argc, char** argv) {
  if (argc < 3) return 2;
  const int width = std::atoi(argv[1]), height = std::atoi(argv[2]);
  if (SDL_Init(SDL_INIT_VIDEO) != 0) return 1;
  SDL_Window* window = SDL_CreateWindow("floor", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                        width, height, SDL_WINDOW_BORDERLESS | SDL_WINDOW_SHOWN);
  if (window == nullptr) return 1;
  SDL_Surface* surface = SDL_GetWindowSurface(window);
  if (surface == nullptr) return 1;
  SDL_FillRect(surface, nullptr, SDL_MapRGB(surface->format, 255, 255, 255));
  SDL_UpdateWindowSurface(window);
  SDL_DestroyWindow(window);
  SDL_Quit();
  return 0;
}
