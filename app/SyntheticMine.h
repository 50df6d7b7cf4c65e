#pragma once
// A synthetic mine of a given size, with valid equipment links, for
// benchmarks and trials: projects × worksheets (demolition, earthmoving and
// revegetation in turn) × equipment rows of every kind.
class TTarvaneDataForm;

// Adds the mine to the user's data set and returns its MineID.
int generateMine(TTarvaneDataForm& dm, int projects, int sheetsPerProject, int equipmentPerSheet, unsigned seed);
