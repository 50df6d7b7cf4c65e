#pragma once
// A synthetic mine of a given size, with valid equipment links, for
// benchmarks and trials: projects × worksheets (demolition, earthmoving and
// revegetation in turn) × equipment rows of every kind.
#include <functional>

class DataModule;

// Adds the mine to the user's data set and returns its MineID. `progress` is told
// after each project how many of the projects are written.
int generateMine(DataModule& dm, int projects, int sheetsPerProject, int equipmentPerSheet, unsigned seed,
                 const std::function<void(int done, int total)>& progress = {});
