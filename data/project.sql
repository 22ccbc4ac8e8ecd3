-- The project template empty.mdb: every project file starts as a byte copy of it.
-- Every column holds text; rows keep their insertion order (rowid).
CREATE TABLE TblProjectInfo (
    ProjectName TEXT, DesignEngineer TEXT, ProjectManager TEXT, DesignDate TEXT,
    JobNumber TEXT, IValueBasinName TEXT);
CREATE TABLE TblNodeInfo (
    NodeName TEXT, IntensityTable TEXT, NodeX TEXT, NodeY TEXT);
CREATE TABLE TblBasinInfo (
    BasinTag TEXT, BasinName TEXT, BasinX TEXT, BasinY TEXT, Area TEXT, SoilType TEXT,
    CVal TEXT, Slope TEXT, TravelLength TEXT, Deleted TEXT, BasinNType TEXT, BasinN TEXT,
    Tc TEXT);
CREATE TABLE TblSurfaceInfo (
    SurfTag TEXT, SurfName TEXT, SurfX TEXT, SurfY TEXT, SurfSlope TEXT, SurfLength TEXT,
    Deleted TEXT, SurfVelocity TEXT, SurfType TEXT, SurfTc TEXT);
CREATE TABLE TblChannelInfo (
    ChannelTag TEXT, ChannelName TEXT, ChannelLeft TEXT, ChannelTop TEXT, ChannelArea TEXT,
    ChannelWP TEXT, ChannelSlope TEXT, ChannelLength TEXT, ChannelMaterial TEXT,
    ChannelN TEXT, Deleted TEXT, ChannelVelocity TEXT, ChannelTc TEXT);
CREATE TABLE TblResults (
    Ival_1 TEXT, Ival_2 TEXT, Ival_5 TEXT, Ival_10 TEXT, Ival_25 TEXT, Ival_50 TEXT,
    Ival_100 TEXT,
    Qpeak_1 TEXT, Qpeak_2 TEXT, Qpeak_5 TEXT, Qpeak_10 TEXT, Qpeak_25 TEXT, Qpeak_50 TEXT,
    Qpeak_100 TEXT);
-- The optional pipe or channel that carries the design flow away from the outlet (one row).
CREATE TABLE TblOutletConveyance (
    ConveyanceKind TEXT, ConveyanceMaterial TEXT, ConveyanceN TEXT, ConveyanceSlope TEXT,
    PipeSizeIt TEXT, PipeDiameter TEXT, ChannelBottom TEXT, ChannelSide TEXT, ChannelDepth TEXT,
    DesignPeriod TEXT, ConveyanceLength TEXT);
-- Design choices that are not element data (one row): the minimum Tc in minutes, "" for none.
CREATE TABLE TblDesignSettings (MinimumTc TEXT);
