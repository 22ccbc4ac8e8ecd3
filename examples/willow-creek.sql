-- A small subdivision outfall, for trying the program: three sub-basins, two shallow
-- concentrated flow paths and two channel reaches draining to one outfall, on the Atlanta
-- rainfall table. The build writes it as build/examples/willow-creek.rmt (a copy of the
-- template with these rows); open that file to explore.
INSERT INTO TblProjectInfo (ProjectName, DesignEngineer, ProjectManager, DesignDate, JobNumber, IValueBasinName)
VALUES ('Willow Creek Phase 2', 'A. Engineer, P.E.', 'B. Manager', '2026-12-08', 'WC-2026-014', 'Atlanta');
INSERT INTO TblNodeInfo (NodeName, IntensityTable, NodeX, NodeY)
VALUES ('Outfall OF-1', 'Atlanta', '5040', '5160');
INSERT INTO TblBasinInfo (BasinTag, BasinName, BasinX, BasinY, Area, SoilType, CVal, Slope, TravelLength, Deleted, BasinNType, BasinN, Tc) VALUES
('Basin1', 'Lots 1-6 roofs & drives', '900', '840', '1.2', 'Residential: Single Family areas', '0.40', '0.02', '100', 'False', 'Smooth Surfaces (Asphalt, concrete, gravel, bare soil)', '0.011', '1.1061'),
('Basin2', 'North lawn', '2700', '840', '2.5', 'Parks, cemeteries', '0.18', '0.015', '150', 'False', 'Grass, Short grass, prairie', '0.15', '13.8801'),
('Basin3', 'Commercial pad', '4500', '840', '0.8', 'Business: Neighborhood areas', '0.60', '0.01', '80', 'False', 'Smooth Surfaces (Asphalt, concrete, gravel, bare soil)', '0.011', '1.2209');
INSERT INTO TblSurfaceInfo (SurfTag, SurfName, SurfX, SurfY, SurfSlope, SurfLength, Deleted, SurfVelocity, SurfType, SurfTc) VALUES
('Surface1', 'Grass swale', '1500', '2500', '0.02', '300', 'False', '2.2811', 'Unpaved', '2.1919'),
('Surface2', 'Parking gutter', '3900', '2500', '0.01', '250', 'False', '2.0330', 'Paved', '2.0495');
INSERT INTO TblChannelInfo (ChannelTag, ChannelName, ChannelLeft, ChannelTop, ChannelArea, ChannelWP, ChannelSlope, ChannelLength, ChannelMaterial, ChannelN, Deleted, ChannelVelocity, ChannelTc) VALUES
('Channel1', 'East ditch', '2100', '4000', '4.00', '6.47', '0.005', '600', 'Earth Channel', '0.025', 'False', '3.0502', '3.2784'),
('Channel2', 'Road culvert', '7000', '4200', '3.14', '6.28', '0.01', '120', 'Concrete Channel', '0.013', 'False', '7.2009', '0.2777');
