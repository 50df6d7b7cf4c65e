-- Tarvane shipped reference data.
-- Loaded once into a new data directory so a first-time user can estimate a bond right away.
-- All figures are representative values from public sources (agency cost estimates, federal
-- prevailing-wage determinations, equipment rate handbooks). Review and update them in the
-- reference-data editors before relying on an estimate for a real permit.

-- Equipment kinds used by the productivity calculators (codes 0 to 9).
INSERT INTO "EQUIP.DB" (EquipCode, EquipmentName) VALUES (0, 'Dozer');
INSERT INTO "EQUIP.DB" (EquipCode, EquipmentName) VALUES (1, 'Dozer Grading');
INSERT INTO "EQUIP.DB" (EquipCode, EquipmentName) VALUES (2, 'Push Dozer');
INSERT INTO "EQUIP.DB" (EquipCode, EquipmentName) VALUES (3, 'Dozer Ripper');
INSERT INTO "EQUIP.DB" (EquipCode, EquipmentName) VALUES (4, 'Excavator');
INSERT INTO "EQUIP.DB" (EquipCode, EquipmentName) VALUES (5, 'Grader');
INSERT INTO "EQUIP.DB" (EquipCode, EquipmentName) VALUES (6, 'Loader');
INSERT INTO "EQUIP.DB" (EquipCode, EquipmentName) VALUES (7, 'Scraper');
INSERT INTO "EQUIP.DB" (EquipCode, EquipmentName) VALUES (8, 'Truck');
INSERT INTO "EQUIP.DB" (EquipCode, EquipmentName) VALUES (9, 'User Defined');

-- Job efficiency: working minutes per hour. 60, 50 and 40 min/hr (1.00, 0.83, 0.67) are the
-- standard handbook values, and 0.92 and 0.75 complete the series offered by the truck calculator.
INSERT INTO "EffFactor.DB" (ID, "Desc", Factor) VALUES (1, '60 min/hr - ideal conditions', 1.00);
INSERT INTO "EffFactor.DB" (ID, "Desc", Factor) VALUES (2, '55 min/hr - excellent job conditions', 0.92);
INSERT INTO "EffFactor.DB" (ID, "Desc", Factor) VALUES (3, '50 min/hr - average day shift', 0.83);
INSERT INTO "EffFactor.DB" (ID, "Desc", Factor) VALUES (4, '45 min/hr - night shift or poor conditions', 0.75);
INSERT INTO "EffFactor.DB" (ID, "Desc", Factor) VALUES (5, '40 min/hr - unfavorable conditions', 0.67);

-- Indirect-cost fee schedules by total direct cost (dollars, ascending). Basis: published agency
-- practice, with percentages stepping down as project size grows. Update to match the practice
-- of the regulatory authority that will hold the bond.
-- Engineering redesign: 6 % at $100,000 down to 2.5 % at $50 million.
INSERT INTO "GRAPH1.DB" (DirectCost, PerCent) VALUES (100000.00, 6.0);
INSERT INTO "GRAPH1.DB" (DirectCost, PerCent) VALUES (500000.00, 5.0);
INSERT INTO "GRAPH1.DB" (DirectCost, PerCent) VALUES (2000000.00, 4.0);
INSERT INTO "GRAPH1.DB" (DirectCost, PerCent) VALUES (10000000.00, 3.0);
INSERT INTO "GRAPH1.DB" (DirectCost, PerCent) VALUES (50000000.00, 2.5);
-- Contractor profit and overhead: 30 % under $100,000, 25 % at $500,000, 20 % at $2 million,
-- 15 % at $10 million and above.
INSERT INTO "GRAPH2.DB" (DirectCost, Percent) VALUES (100000.00, 30.0);
INSERT INTO "GRAPH2.DB" (DirectCost, Percent) VALUES (500000.00, 25.0);
INSERT INTO "GRAPH2.DB" (DirectCost, Percent) VALUES (2000000.00, 20.0);
INSERT INTO "GRAPH2.DB" (DirectCost, Percent) VALUES (10000000.00, 15.0);
INSERT INTO "GRAPH2.DB" (DirectCost, Percent) VALUES (100000000.00, 15.0);
-- Reclamation (project) management: 10 % at $100,000 down to 3 % at $50 million.
INSERT INTO "GRAPH3.DB" (DirectCost, Percent) VALUES (100000.00, 10.0);
INSERT INTO "GRAPH3.DB" (DirectCost, Percent) VALUES (500000.00, 8.0);
INSERT INTO "GRAPH3.DB" (DirectCost, Percent) VALUES (2000000.00, 6.0);
INSERT INTO "GRAPH3.DB" (DirectCost, Percent) VALUES (10000000.00, 4.0);
INSERT INTO "GRAPH3.DB" (DirectCost, Percent) VALUES (50000000.00, 3.0);

-- Equipment-cost handbook: hourly owning and operating cost WITHOUT operator, representative of
-- published equipment rate schedules (2012-2024 figures escalated to a 1 July 2024 date of cost).
-- Add your own makers, kinds and models, and re-price rows as rate schedules are republished.
-- Makers.
INSERT INTO "HCOMPANY.DB" (COID, Name) VALUES (1, 'Caterpillar');
INSERT INTO "HCOMPANY.DB" (COID, Name) VALUES (2, 'Komatsu');
INSERT INTO "HCOMPANY.DB" (COID, Name) VALUES (3, 'Volvo');
INSERT INTO "HCOMPANY.DB" (COID, Name) VALUES (4, 'Deere');
-- Kinds of equipment, one row per maker and kind.
INSERT INTO "HEQUIPT.DB" (COID, ID, Type) VALUES (1, 1, 'Crawler Dozer');
INSERT INTO "HEQUIPT.DB" (COID, ID, Type) VALUES (1, 2, 'Wheel Loader');
INSERT INTO "HEQUIPT.DB" (COID, ID, Type) VALUES (1, 3, 'Wheel Tractor-Scraper');
INSERT INTO "HEQUIPT.DB" (COID, ID, Type) VALUES (1, 4, 'Motor Grader');
INSERT INTO "HEQUIPT.DB" (COID, ID, Type) VALUES (1, 5, 'Off-Highway Truck');
INSERT INTO "HEQUIPT.DB" (COID, ID, Type) VALUES (2, 6, 'Hydraulic Excavator');
INSERT INTO "HEQUIPT.DB" (COID, ID, Type) VALUES (2, 7, 'Articulated Truck');
INSERT INTO "HEQUIPT.DB" (COID, ID, Type) VALUES (2, 8, 'Crawler Dozer');
INSERT INTO "HEQUIPT.DB" (COID, ID, Type) VALUES (3, 9, 'Articulated Truck');
INSERT INTO "HEQUIPT.DB" (COID, ID, Type) VALUES (4, 10, 'Wheel Loader');
INSERT INTO "HEQUIPT.DB" (COID, ID, Type) VALUES (4, 11, 'Motor Grader');
INSERT INTO "HEQUIPT.DB" (COID, ID, Type) VALUES (4, 12, 'Farm Tractor');
-- Models with hourly cost (dollars per hour, without operator).
INSERT INTO "HCOST.DB" (ID, Item, Model, Specifications, DateOfCost, HourlyCost) VALUES (1, 1, 'D6', '215 hp, SU blade', '2024-07-01', 118.00);
INSERT INTO "HCOST.DB" (ID, Item, Model, Specifications, DateOfCost, HourlyCost) VALUES (1, 2, 'D8', '354 hp, SU blade', '2024-07-01', 195.00);
INSERT INTO "HCOST.DB" (ID, Item, Model, Specifications, DateOfCost, HourlyCost) VALUES (1, 3, 'D9', '452 hp, SU blade, ripper', '2024-07-01', 265.00);
INSERT INTO "HCOST.DB" (ID, Item, Model, Specifications, DateOfCost, HourlyCost) VALUES (1, 4, 'D10', '600 hp, U blade, ripper', '2024-07-01', 410.00);
INSERT INTO "HCOST.DB" (ID, Item, Model, Specifications, DateOfCost, HourlyCost) VALUES (2, 5, '966', '5.0 cy bucket', '2024-07-01', 120.00);
INSERT INTO "HCOST.DB" (ID, Item, Model, Specifications, DateOfCost, HourlyCost) VALUES (2, 6, '988', '8.5 cy bucket', '2024-07-01', 235.00);
INSERT INTO "HCOST.DB" (ID, Item, Model, Specifications, DateOfCost, HourlyCost) VALUES (3, 7, '621', '22 cy heaped', '2024-07-01', 175.00);
INSERT INTO "HCOST.DB" (ID, Item, Model, Specifications, DateOfCost, HourlyCost) VALUES (3, 8, '631', '34 cy heaped', '2024-07-01', 260.00);
INSERT INTO "HCOST.DB" (ID, Item, Model, Specifications, DateOfCost, HourlyCost) VALUES (3, 9, '657', '44 cy heaped, push-pull', '2024-07-01', 390.00);
INSERT INTO "HCOST.DB" (ID, Item, Model, Specifications, DateOfCost, HourlyCost) VALUES (4, 10, '14', '14 ft blade, 215 hp', '2024-07-01', 108.00);
INSERT INTO "HCOST.DB" (ID, Item, Model, Specifications, DateOfCost, HourlyCost) VALUES (4, 11, '16', '16 ft blade, 297 hp', '2024-07-01', 150.00);
INSERT INTO "HCOST.DB" (ID, Item, Model, Specifications, DateOfCost, HourlyCost) VALUES (5, 12, '775', '70 ton', '2024-07-01', 215.00);
INSERT INTO "HCOST.DB" (ID, Item, Model, Specifications, DateOfCost, HourlyCost) VALUES (6, 13, 'PC360', '2.4 cy bucket', '2024-07-01', 110.00);
INSERT INTO "HCOST.DB" (ID, Item, Model, Specifications, DateOfCost, HourlyCost) VALUES (6, 14, 'PC490', '3.5 cy bucket', '2024-07-01', 150.00);
INSERT INTO "HCOST.DB" (ID, Item, Model, Specifications, DateOfCost, HourlyCost) VALUES (7, 15, 'HM400', '40 ton', '2024-07-01', 114.00);
INSERT INTO "HCOST.DB" (ID, Item, Model, Specifications, DateOfCost, HourlyCost) VALUES (8, 16, 'D155', '354 hp', '2024-07-01', 190.00);
INSERT INTO "HCOST.DB" (ID, Item, Model, Specifications, DateOfCost, HourlyCost) VALUES (9, 17, 'A30', '30 ton', '2024-07-01', 68.00);
INSERT INTO "HCOST.DB" (ID, Item, Model, Specifications, DateOfCost, HourlyCost) VALUES (9, 18, 'A40', '40 ton', '2024-07-01', 101.00);
INSERT INTO "HCOST.DB" (ID, Item, Model, Specifications, DateOfCost, HourlyCost) VALUES (10, 19, '844', '6.0 cy bucket', '2024-07-01', 128.00);
INSERT INTO "HCOST.DB" (ID, Item, Model, Specifications, DateOfCost, HourlyCost) VALUES (11, 20, '772', '14 ft blade', '2024-07-01', 95.00);
INSERT INTO "HCOST.DB" (ID, Item, Model, Specifications, DateOfCost, HourlyCost) VALUES (12, 21, '8R 280', 'with disk and seed drill', '2024-07-01', 65.00);

-- Labor rates: hourly wage plus fringe for heavy/highway construction, representative of federal
-- prevailing-wage determinations escalated to 1 July 2024 (for scale: a 2008 determination for a
-- western county paid dozer operators 27.23 wage + 22.43 fringe). The first subregion of each
-- region carries the regional base rate, and the others differ by a few percent (-2 %, +1.5 %, +3 %)
-- to reflect local wage differences. Replace with the current determination for the permit county.
-- Regions.
INSERT INTO "LaborRegion.db" (RegionID, RegionName) VALUES (1, 'Appalachian');
INSERT INTO "LaborRegion.db" (RegionID, RegionName) VALUES (2, 'Interior');
INSERT INTO "LaborRegion.db" (RegionID, RegionName) VALUES (3, 'Western');
-- Subregions.
INSERT INTO "LaborSubRegion.DB" (RegionID, SubRegionID, SubRegionName) VALUES (1, 1, 'Pennsylvania - Western');
INSERT INTO "LaborSubRegion.DB" (RegionID, SubRegionID, SubRegionName) VALUES (1, 2, 'West Virginia - Northern');
INSERT INTO "LaborSubRegion.DB" (RegionID, SubRegionID, SubRegionName) VALUES (1, 3, 'Kentucky - Eastern');
INSERT INTO "LaborSubRegion.DB" (RegionID, SubRegionID, SubRegionName) VALUES (1, 4, 'Virginia - Southwest');
INSERT INTO "LaborSubRegion.DB" (RegionID, SubRegionID, SubRegionName) VALUES (2, 5, 'Illinois - Southern');
INSERT INTO "LaborSubRegion.DB" (RegionID, SubRegionID, SubRegionName) VALUES (2, 6, 'Indiana - Southwest');
INSERT INTO "LaborSubRegion.DB" (RegionID, SubRegionID, SubRegionName) VALUES (2, 7, 'Western Kentucky');
INSERT INTO "LaborSubRegion.DB" (RegionID, SubRegionID, SubRegionName) VALUES (3, 8, 'Wyoming - Powder River Basin');
INSERT INTO "LaborSubRegion.DB" (RegionID, SubRegionID, SubRegionName) VALUES (3, 9, 'Colorado - Northwest');
INSERT INTO "LaborSubRegion.DB" (RegionID, SubRegionID, SubRegionName) VALUES (3, 10, 'Montana - Eastern');
INSERT INTO "LaborSubRegion.DB" (RegionID, SubRegionID, SubRegionName) VALUES (3, 11, 'Nevada - Lyon County');
-- Laborers and hourly rates per subregion.
-- Appalachian: Pennsylvania - Western (base rate)
INSERT INTO "LaborCost.db" (SubRegionID, LaborID, Laborer, DateOfCost, HourlyCosst) VALUES (1, 1, 'Power Equip Operator Group 1 (dozer/scraper)', '2024-07-01', 58.40);
INSERT INTO "LaborCost.db" (SubRegionID, LaborID, Laborer, DateOfCost, HourlyCosst) VALUES (1, 2, 'Power Equip Operator Group 2 (excav/grader)', '2024-07-01', 57.20);
INSERT INTO "LaborCost.db" (SubRegionID, LaborID, Laborer, DateOfCost, HourlyCosst) VALUES (1, 3, 'Truck Driver - Off-Road Haul', '2024-07-01', 46.80);
INSERT INTO "LaborCost.db" (SubRegionID, LaborID, Laborer, DateOfCost, HourlyCosst) VALUES (1, 4, 'Laborer - Common', '2024-07-01', 38.60);
INSERT INTO "LaborCost.db" (SubRegionID, LaborID, Laborer, DateOfCost, HourlyCosst) VALUES (1, 5, 'Laborer - Seeding and Planting', '2024-07-01', 36.90);
-- Appalachian: West Virginia - Northern (-2.0 %)
INSERT INTO "LaborCost.db" (SubRegionID, LaborID, Laborer, DateOfCost, HourlyCosst) VALUES (2, 6, 'Power Equip Operator Group 1 (dozer/scraper)', '2024-07-01', 57.23);
INSERT INTO "LaborCost.db" (SubRegionID, LaborID, Laborer, DateOfCost, HourlyCosst) VALUES (2, 7, 'Power Equip Operator Group 2 (excav/grader)', '2024-07-01', 56.06);
INSERT INTO "LaborCost.db" (SubRegionID, LaborID, Laborer, DateOfCost, HourlyCosst) VALUES (2, 8, 'Truck Driver - Off-Road Haul', '2024-07-01', 45.86);
INSERT INTO "LaborCost.db" (SubRegionID, LaborID, Laborer, DateOfCost, HourlyCosst) VALUES (2, 9, 'Laborer - Common', '2024-07-01', 37.83);
INSERT INTO "LaborCost.db" (SubRegionID, LaborID, Laborer, DateOfCost, HourlyCosst) VALUES (2, 10, 'Laborer - Seeding and Planting', '2024-07-01', 36.16);
-- Appalachian: Kentucky - Eastern (+1.5 %)
INSERT INTO "LaborCost.db" (SubRegionID, LaborID, Laborer, DateOfCost, HourlyCosst) VALUES (3, 11, 'Power Equip Operator Group 1 (dozer/scraper)', '2024-07-01', 59.28);
INSERT INTO "LaborCost.db" (SubRegionID, LaborID, Laborer, DateOfCost, HourlyCosst) VALUES (3, 12, 'Power Equip Operator Group 2 (excav/grader)', '2024-07-01', 58.06);
INSERT INTO "LaborCost.db" (SubRegionID, LaborID, Laborer, DateOfCost, HourlyCosst) VALUES (3, 13, 'Truck Driver - Off-Road Haul', '2024-07-01', 47.50);
INSERT INTO "LaborCost.db" (SubRegionID, LaborID, Laborer, DateOfCost, HourlyCosst) VALUES (3, 14, 'Laborer - Common', '2024-07-01', 39.18);
INSERT INTO "LaborCost.db" (SubRegionID, LaborID, Laborer, DateOfCost, HourlyCosst) VALUES (3, 15, 'Laborer - Seeding and Planting', '2024-07-01', 37.45);
-- Appalachian: Virginia - Southwest (+3.0 %)
INSERT INTO "LaborCost.db" (SubRegionID, LaborID, Laborer, DateOfCost, HourlyCosst) VALUES (4, 16, 'Power Equip Operator Group 1 (dozer/scraper)', '2024-07-01', 60.15);
INSERT INTO "LaborCost.db" (SubRegionID, LaborID, Laborer, DateOfCost, HourlyCosst) VALUES (4, 17, 'Power Equip Operator Group 2 (excav/grader)', '2024-07-01', 58.92);
INSERT INTO "LaborCost.db" (SubRegionID, LaborID, Laborer, DateOfCost, HourlyCosst) VALUES (4, 18, 'Truck Driver - Off-Road Haul', '2024-07-01', 48.20);
INSERT INTO "LaborCost.db" (SubRegionID, LaborID, Laborer, DateOfCost, HourlyCosst) VALUES (4, 19, 'Laborer - Common', '2024-07-01', 39.76);
INSERT INTO "LaborCost.db" (SubRegionID, LaborID, Laborer, DateOfCost, HourlyCosst) VALUES (4, 20, 'Laborer - Seeding and Planting', '2024-07-01', 38.01);
-- Interior: Illinois - Southern (base rate)
INSERT INTO "LaborCost.db" (SubRegionID, LaborID, Laborer, DateOfCost, HourlyCosst) VALUES (5, 21, 'Power Equip Operator Group 1 (dozer/scraper)', '2024-07-01', 56.10);
INSERT INTO "LaborCost.db" (SubRegionID, LaborID, Laborer, DateOfCost, HourlyCosst) VALUES (5, 22, 'Power Equip Operator Group 2 (excav/grader)', '2024-07-01', 55.30);
INSERT INTO "LaborCost.db" (SubRegionID, LaborID, Laborer, DateOfCost, HourlyCosst) VALUES (5, 23, 'Truck Driver - Off-Road Haul', '2024-07-01', 45.50);
INSERT INTO "LaborCost.db" (SubRegionID, LaborID, Laborer, DateOfCost, HourlyCosst) VALUES (5, 24, 'Laborer - Common', '2024-07-01', 37.40);
INSERT INTO "LaborCost.db" (SubRegionID, LaborID, Laborer, DateOfCost, HourlyCosst) VALUES (5, 25, 'Laborer - Seeding and Planting', '2024-07-01', 35.80);
-- Interior: Indiana - Southwest (-2.0 %)
INSERT INTO "LaborCost.db" (SubRegionID, LaborID, Laborer, DateOfCost, HourlyCosst) VALUES (6, 26, 'Power Equip Operator Group 1 (dozer/scraper)', '2024-07-01', 54.98);
INSERT INTO "LaborCost.db" (SubRegionID, LaborID, Laborer, DateOfCost, HourlyCosst) VALUES (6, 27, 'Power Equip Operator Group 2 (excav/grader)', '2024-07-01', 54.19);
INSERT INTO "LaborCost.db" (SubRegionID, LaborID, Laborer, DateOfCost, HourlyCosst) VALUES (6, 28, 'Truck Driver - Off-Road Haul', '2024-07-01', 44.59);
INSERT INTO "LaborCost.db" (SubRegionID, LaborID, Laborer, DateOfCost, HourlyCosst) VALUES (6, 29, 'Laborer - Common', '2024-07-01', 36.65);
INSERT INTO "LaborCost.db" (SubRegionID, LaborID, Laborer, DateOfCost, HourlyCosst) VALUES (6, 30, 'Laborer - Seeding and Planting', '2024-07-01', 35.08);
-- Interior: Western Kentucky (+1.5 %)
INSERT INTO "LaborCost.db" (SubRegionID, LaborID, Laborer, DateOfCost, HourlyCosst) VALUES (7, 31, 'Power Equip Operator Group 1 (dozer/scraper)', '2024-07-01', 56.94);
INSERT INTO "LaborCost.db" (SubRegionID, LaborID, Laborer, DateOfCost, HourlyCosst) VALUES (7, 32, 'Power Equip Operator Group 2 (excav/grader)', '2024-07-01', 56.13);
INSERT INTO "LaborCost.db" (SubRegionID, LaborID, Laborer, DateOfCost, HourlyCosst) VALUES (7, 33, 'Truck Driver - Off-Road Haul', '2024-07-01', 46.18);
INSERT INTO "LaborCost.db" (SubRegionID, LaborID, Laborer, DateOfCost, HourlyCosst) VALUES (7, 34, 'Laborer - Common', '2024-07-01', 37.96);
INSERT INTO "LaborCost.db" (SubRegionID, LaborID, Laborer, DateOfCost, HourlyCosst) VALUES (7, 35, 'Laborer - Seeding and Planting', '2024-07-01', 36.34);
-- Western: Wyoming - Powder River Basin (base rate)
INSERT INTO "LaborCost.db" (SubRegionID, LaborID, Laborer, DateOfCost, HourlyCosst) VALUES (8, 36, 'Power Equip Operator Group 1 (dozer/scraper)', '2024-07-01', 62.75);
INSERT INTO "LaborCost.db" (SubRegionID, LaborID, Laborer, DateOfCost, HourlyCosst) VALUES (8, 37, 'Power Equip Operator Group 2 (excav/grader)', '2024-07-01', 61.90);
INSERT INTO "LaborCost.db" (SubRegionID, LaborID, Laborer, DateOfCost, HourlyCosst) VALUES (8, 38, 'Truck Driver - Off-Road Haul', '2024-07-01', 50.20);
INSERT INTO "LaborCost.db" (SubRegionID, LaborID, Laborer, DateOfCost, HourlyCosst) VALUES (8, 39, 'Laborer - Common', '2024-07-01', 41.30);
INSERT INTO "LaborCost.db" (SubRegionID, LaborID, Laborer, DateOfCost, HourlyCosst) VALUES (8, 40, 'Laborer - Seeding and Planting', '2024-07-01', 39.70);
-- Western: Colorado - Northwest (-2.0 %)
INSERT INTO "LaborCost.db" (SubRegionID, LaborID, Laborer, DateOfCost, HourlyCosst) VALUES (9, 41, 'Power Equip Operator Group 1 (dozer/scraper)', '2024-07-01', 61.50);
INSERT INTO "LaborCost.db" (SubRegionID, LaborID, Laborer, DateOfCost, HourlyCosst) VALUES (9, 42, 'Power Equip Operator Group 2 (excav/grader)', '2024-07-01', 60.66);
INSERT INTO "LaborCost.db" (SubRegionID, LaborID, Laborer, DateOfCost, HourlyCosst) VALUES (9, 43, 'Truck Driver - Off-Road Haul', '2024-07-01', 49.20);
INSERT INTO "LaborCost.db" (SubRegionID, LaborID, Laborer, DateOfCost, HourlyCosst) VALUES (9, 44, 'Laborer - Common', '2024-07-01', 40.47);
INSERT INTO "LaborCost.db" (SubRegionID, LaborID, Laborer, DateOfCost, HourlyCosst) VALUES (9, 45, 'Laborer - Seeding and Planting', '2024-07-01', 38.91);
-- Western: Montana - Eastern (+1.5 %)
INSERT INTO "LaborCost.db" (SubRegionID, LaborID, Laborer, DateOfCost, HourlyCosst) VALUES (10, 46, 'Power Equip Operator Group 1 (dozer/scraper)', '2024-07-01', 63.69);
INSERT INTO "LaborCost.db" (SubRegionID, LaborID, Laborer, DateOfCost, HourlyCosst) VALUES (10, 47, 'Power Equip Operator Group 2 (excav/grader)', '2024-07-01', 62.83);
INSERT INTO "LaborCost.db" (SubRegionID, LaborID, Laborer, DateOfCost, HourlyCosst) VALUES (10, 48, 'Truck Driver - Off-Road Haul', '2024-07-01', 50.95);
INSERT INTO "LaborCost.db" (SubRegionID, LaborID, Laborer, DateOfCost, HourlyCosst) VALUES (10, 49, 'Laborer - Common', '2024-07-01', 41.92);
INSERT INTO "LaborCost.db" (SubRegionID, LaborID, Laborer, DateOfCost, HourlyCosst) VALUES (10, 50, 'Laborer - Seeding and Planting', '2024-07-01', 40.30);
-- Western: Nevada - Lyon County (+3.0 %)
INSERT INTO "LaborCost.db" (SubRegionID, LaborID, Laborer, DateOfCost, HourlyCosst) VALUES (11, 51, 'Power Equip Operator Group 1 (dozer/scraper)', '2024-07-01', 64.63);
INSERT INTO "LaborCost.db" (SubRegionID, LaborID, Laborer, DateOfCost, HourlyCosst) VALUES (11, 52, 'Power Equip Operator Group 2 (excav/grader)', '2024-07-01', 63.76);
INSERT INTO "LaborCost.db" (SubRegionID, LaborID, Laborer, DateOfCost, HourlyCosst) VALUES (11, 53, 'Truck Driver - Off-Road Haul', '2024-07-01', 51.71);
INSERT INTO "LaborCost.db" (SubRegionID, LaborID, Laborer, DateOfCost, HourlyCosst) VALUES (11, 54, 'Laborer - Common', '2024-07-01', 42.54);
INSERT INTO "LaborCost.db" (SubRegionID, LaborID, Laborer, DateOfCost, HourlyCosst) VALUES (11, 55, 'Laborer - Seeding and Planting', '2024-07-01', 40.89);
