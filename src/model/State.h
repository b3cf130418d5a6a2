// The working state of one model run. Each struct gathers the values that
// the reference program keeps together in one common block; field names are
// kept as there (lower case), so that a routine can be read side by side
// with its source. Arrays are 1-based and column-major, as in the reference,
// which keeps memory layouts (and the aliasing some routines rely on) equal.
#pragma once

#include "model/Table.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace vx::model {

// Gamma factors of the layer variations (VERSY) (/A11/).
struct TGammaCoefficients {
    TTable<float, 6> gamma{};
};

// The modes of one frequency, sorted (ALLMODES) (/ALLMODE/).
struct TModeSet {
    TTable<float, 20> abps{};
    TTable<float, 20> crel{};
    TTable<float, 20> fldst{};
    TTable<float, 20> hn{};
    TTable<float, 20> hp{};
    TTable<float, 20> prob{};
    TTable<float, 20> rely{};
    TTable<float, 20> rgain{};
    TTable<float, 20> sigpow{};
    TTable<float, 20> sn{};
    TTable<float, 20> spro{};
    TTable<float, 20> tgain{};
    TTable<float, 20> timed{};
    TTable<float, 20> tloss{};
    TTable<float, 20> b{};
    TTable<float, 20> fslos{};
    TTable<float, 20> grlos{};
    TTable<float, 20> adv{};
    TTable<float, 20> obf{};
    TTable<int32_t, 20> nmode{};
    TTable<float, 20> tllow{};
    TTable<float, 20> tlhgh{};
    TTable<float, 20> eff{};
    int32_t nrel{};
    int32_t nmmod{};
};

// Month names, circuit labels and mode texts (/ALPHA/).
struct TLabels {
    TTable<TChars<3>, 12> imon{};
    TTable<TChars<10>, 2> itran{};
    TTable<TChars<10>, 2> ircvr{};
    TTable<TChars<10>, 2> lbmap{};
    TTable<TChars<2>, 13> mode{};
    TTable<TChars<2>, 13> moder{};
    TChars<1> itlat{};
    TChars<1> itlong{};
    TChars<1> irlat{};
    TChars<1> irlong{};
    TChars<1> irlatu{};
    TChars<1> irlongu{};
    TChars<5> nyear{};
};

// Noise of the current frequency and hour (/ANOIS/).
struct TNoiseState {
    float atnu{};
    float atny{};
    float cc{};
    float tm{};
    float rcnse{};
    float du{};
    float dl{};
    float sigm{};
    float sxgu{};
    float sxgl{};
    int32_t kj{};
    int32_t jk{};
};

// Azimuth and elevation between two points (DAZEL) (/AZEL/).
struct TAzimuthElevation {
    float ztlat{};
    float ztlon{};
    float ztht{};
    float zrlat{};
    float zrlon{};
    float zrht{};
    float ztaz{};
    float zraz{};
    float ztelv{};
    float zrelv{};
    float zd{};
    float zdgc{};
    float ztakof{};
    float zrakof{};
};

// The antennas of the deck and their gain tables (/CANTENNA/).
struct TAntennaSet {
    int32_t numants{};
    TTable<int32_t, 20> iats{};
    TTable<TChars<10>, 20> anttype{};
    TTable<TChars<70>, 20> antname{};
    TTable<float, 20> xfqs{};
    TTable<float, 20> xfqe{};
    TTable<float, 20> designfreq{};
    TTable<TChars<24>, 20> antfile{};
    TTable<float, 20> beammain{};
    TTable<float, 20> offazim{};
    TTable<float, 20> cond{};
    TTable<float, 20> diel{};
    TTable<float, 30, 91, 20> array{};
    TTable<float, 30, 20> aeff{};
};

// Set while an area run is under way (/CAREA/).
struct TAreaFlag {
    int32_t iarea{};
};

// An area run's full antenna pattern (/CAREAANT/).
struct TAreaAntennaTable {
    TTable<int16_t, 360, 91, 2> iarray360{};
};

// CCIR antenna parameters (/CCIRPARM/).
struct TCcirAntennaParams {
    TTable<float, 20> parm{};
    float z6{};
    float umax{};
    float vmax{};
    float giso{};
    int32_t modegain{};
    TTable<float, 3, 2> gainmax{};
    TTable<float, 30> gainmaxb{};
    TChars<20> antnam{};
};

// CCIR or URSI foF2 maps (/CCOEFF/).
struct TCoefficientSet {
    TChars<4> coeff{};
};

// Daily foF2 per month (unused by our decks) (/CDAILY/).
struct TDailyFlags {
    TTable<int32_t, 12> idaily{};
};

// The day of a daily run (/CDAY/).
struct TDay {
    int32_t iday{};
};

// Transmit and receive gain per frequency (/CGAINS/).
struct TGains {
    TTable<float, 13> gaint{};
    TTable<float, 13> gainr{};
};

// The hours to compute (/CHOURS/).
struct THours {
    int32_t nhours{};
    TTable<int32_t, 24> ihours{};
};

// The model named by the deck (/CMODEL/).
struct TModelName {
    TChars<8> model{};
};

// The geomagnetic north pole (/CNORTH_POLE/).
struct TMagneticPole {
    float g_magnetic_lat{};
    float g_magnetic_lon{};
};

// Physical and numerical constants (/CON/).
struct TConstants {
    float d2r{};
    float dcl{};
    float gama{};
    float pi{};
    float pi2{};
    float pio2{};
    float r2d{};
    float rz{};
    float vofl{};
};

// Run control read from the deck (/CONTRL/).
struct TRunControl {
    TTable<int32_t, 3> ielect{};
    TTable<int32_t, 12> ktout{};
    TTable<int32_t, 12> months{};
    TTable<float, 12> sunsp{};
    int32_t iantou{};
    int32_t icard{};
    int32_t integ{};
    int32_t ired{};
    int32_t isout{};
    int32_t isproc{};
    int32_t issn{};
    int32_t itype{};
    int32_t jdash{};
    int32_t jfreq{};
    int32_t jlong{};
    int32_t kcard{};
    int32_t krun{};
    int32_t mapin{};
    int32_t maxnam{};
    int32_t monold{};
    int32_t morem{};
    int32_t mores{};
    int32_t numnam{};
    int32_t nuproc{};
    int32_t maxmet{};
    int32_t mspec{};
    int32_t m100{};
};

// Rounding switch (/CROUND/).
struct TRounding {
    int32_t iround{};
};

// The noise method used (/C_METHOD_USED/).
struct TNoiseMethod {
    int32_t method_used{};
};

// Noise modes (/C_NOISE/).
struct TNoiseModes {
    int32_t mode_n1{};
    int32_t mode_n2{};
    int32_t mode_n3{};
};

// Atmospheric, galactic and man-made noise (/C_NOISES/).
struct TNoiseParts {
    float xn_atnos{};
    float xn_galactic{};
    float xn_mmn{};
};

// Gaussian weights of the virtual-height integration (/DATR/).
struct TIntegrationWeights {
    TTable<float, 20> wt{};
    TTable<float, 20> xt{};
    int32_t nt{};
    int32_t npl{};
    float xnpl{};
    float twdiv{};
};

// Antenna design frequency (/DESIGNFREQ/).
struct TDesignFrequency {
    float freqdesign{};
};

// The circuit: end points, great circle, power, sunspots (/DON/).
struct TCircuit {
    float alatd{};
    float amin{};
    float amind{};
    float btr{};
    float btrd{};
    float dlong{};
    float dmp{};
    float ertr{};
    float gcd{};
    float gcdkm{};
    float pmp{};
    float pwr{};
    float tlat{};
    float tlatd{};
    float tlong{};
    float tlongd{};
    float rsn{};
    float sigtr{};
    float rlat{};
    float rlatd{};
    float rlong{};
    float rlongd{};
    float brtd{};
    float flux{};
    float ulat{};
    float ulatd{};
    float ulong{};
    float ulongd{};
    float ssn{};
    float d90r{};
    float d50r{};
    float d10r{};
    float d90s{};
    float d50s{};
    float d10s{};
};

// Noise deciles per frequency (/DUDL_NOIS/).
struct TNoiseDecilesByFreq {
    TTable<float, 13> du_nois{};
    TTable<float, 13> dl_nois{};
};

// Sporadic E at the control points (/ES/).
struct TSporadicE {
    TTable<float, 3, 5> fs{};
    TTable<float, 5> hs{};
};

// F1 layer coefficients (/FONE/).
struct TF1Coefficients {
    TTable<float, 3> anew{};
    TTable<float, 3> bnew{};
    TTable<float, 2> achi{};
    TTable<float, 2> bchi{};
};

// The frequencies of the run (/FRQ/).
struct TFrequencies {
    TTable<float, 13> frea{};
    TTable<float, 29> frel{};
    float freq{};
    int32_t jmode{};
    TTable<int32_t, 2> itxrcp{};
};

// Geomagnetic facts of the control points (/GEOG/).
struct TControlPointGeo {
    TTable<float, 5> gyz{};
    TTable<float, 5> rat{};
    TTable<float, 5> gmdip{};
    TTable<float, 5> clck{};
    TTable<float, 5> abiy{};
    TTable<float, 5> artic{};
    TTable<float, 5> sigpat{};
    TTable<float, 5> epspat{};
};

// Which path model LUFFY follows (/GH_IPFG/).
struct TPathFlag {
    int32_t ipfg{};
};

// Diagnostic switches (/INFORM/).
struct TInform {
    int32_t info{};
    int32_t ihshr{};
    int32_t ihlng{};
};

// Hours and ionosphere options (/ION/).
struct TIonosphereOptions {
    int32_t ihre{};
    int32_t ihro{};
    int32_t ihrs{};
    int32_t lufp{};
    int32_t method{};
    int32_t noise{};
    int32_t npsl{};
};

// Losses per ray for the long-path model (/LOSX/).
struct TLossTables {
    TTable<float, 45, 3> andvx{};
    TTable<float, 45, 3> advx{};
    TTable<float, 45, 3> aofx{};
    TTable<float, 45, 3> arfx{};
    TTable<float, 45, 3> grlosx{};
    TTable<float, 45, 3> tgainx{};
    TTable<float, 45, 3> tlskm{};
    TTable<float, 45> efflp{};
    TTable<int32_t, 3> iaftxr{};
};

// Long-path model parameters (/LPATH/).
struct TLongPath {
    float gcdlng{};
    TTable<float, 45, 2> txrgml{};
    float delopt{};
    float gmin{};
    float ymin{};
    TTable<int32_t, 2> ltxrgm{};
};

// What a method computes and prints (/METSET/).
struct TMethodSet {
    int32_t itrun{};
    int32_t itout{};
    TTable<int32_t, 40> jtrun{};
    TTable<int32_t, 40> jtout{};
};

// Layer factors at the control points (/MFAC/).
struct TLayerFactors {
    TTable<float, 5> f2m3{};
    TTable<float, 5> hpf2{};
    TTable<float, 5> zenang{};
    TTable<float, 5> zenmax{};
    int32_t iedp{};
    TTable<float, 3> fsecv{};
};

// Modes at the control points (/MODES/).
struct TModes {
    float ghop{};
    TTable<float, 6, 3> delmod{};
    TTable<float, 6, 3> hpmod{};
    TTable<float, 6, 3> htmod{};
    TTable<float, 6, 3> fvmod{};
    TTable<int32_t, 6, 3> itmod{};
    TTable<float, 6, 3> afmod{};
};

// MUFs of each layer per hour (/MUFS/).
struct TMufs {
    TTable<float, 24> emuf{};
    TTable<float, 24> f1muf{};
    TTable<float, 24> f2muf{};
    TTable<float, 24> esmuf{};
    TTable<float, 24> allmuf{};
    TTable<float, 24> fot{};
    TTable<float, 24> xluf{};
    TTable<float, 24> hpf{};
    TTable<float, 24> angmuf{};
    int32_t modmuf{};
    TTable<float, 4> sigl{};
    TTable<float, 4> sigu{};
    TTable<float, 4> delmuf{};
    TTable<float, 4> hpmuf{};
    TTable<float, 4> htmuf{};
    TTable<float, 4> fvmuf{};
    TTable<float, 4> afmuf{};
    TTable<int32_t, 4> nhopmf{};
    TTable<float, 4> yfot{};
    TTable<float, 4> yhpf{};
    TTable<float, 4> ymuf{};
};

// The month's coefficients, interpolated to the sunspot number (/ONE/).
struct TCoefficients {
    TTable<int32_t, 6> ia{};
    TTable<int32_t, 6> ib{};
    TTable<int32_t, 10, 6> ikim{};
    TTable<float, 5, 55> eslcof{};
    TTable<float, 7, 61> esmcof{};
    TTable<float, 5, 55> esucof{};
    TTable<float, 13, 76> f2cof{};
    TTable<float, 9, 49> fm3cof{};
    TTable<float, 9, 22> ercof{};
};

// Labels of printed lines (/OUTLAB/).
struct TOutputLabels {
    TTable<TChars<5>, 11> label{};
    TTable<TChars<2>, 5> laytyp{};
    TChars<1> ieast{};
    TChars<1> inorth{};
    TChars<1> isouth{};
    TChars<1> iwest{};
    TChars<5> labli{};
    TChars<5> lablj{};
    TChars<5> lablk{};
};

// Which lines are printed (/OUTPRT/).
struct TOutputLines {
    TTable<int32_t, 26> linbot{};
    TTable<int32_t, 14> linbd{};
    TTable<int32_t, 15> lintop{};
    TTable<int32_t, 14> lintp{};
    float grptyp{};
    int32_t jout{};
    int32_t linbyp{};
    int32_t lines{};
    int32_t linmax{};
    int32_t lintyp{};
    int32_t lpages{};
    int32_t nline{};
};

// Transmitter power per antenna (/PANTENNA/).
struct TAntennaPower {
    TTable<float, 20> pwrkw{};
    TTable<float, 20> pwrdba{};
};

// PSC coefficients (/PSCA/).
struct TPscCoefficients {
    TTable<float, 4> psc{};
    TTable<float, 4> pscb{};
    int32_t ipsc{};
};

// The fixed ray-angle table (/RAYS/).
struct TRays {
    TTable<float, 40> ang{};
    TTable<int32_t, 40, 30, 5> ifob{};
    int32_t nang{};
};

// Reflection heights and losses per ray (/REFLX/).
struct TReflections {
    TTable<float, 45, 3> delfx{};
    TTable<float, 45, 3> hpflx{};
    TTable<float, 45, 3> htflx{};
    TTable<float, 45, 3> gdflx{};
    TTable<float, 45, 3> fvflx{};
    TTable<float, 3> dskpkm{};
    TTable<float, 3> delskp{};
    TTable<float, 3> hpskp{};
    TTable<float, 3> htskp{};
    TTable<float, 3> dmaxkm{};
    TTable<float, 3> fvskp{};
    TTable<int32_t, 3> iskp{};
    TTable<int32_t, 45, 3> imode{};
    TTable<float, 45, 3> afflx{};
    TTable<float, 3, 5> delpen{};
    TTable<float, 45, 3> gml{};
    TTable<float, 45, 3> fhp{};
};

// The area grid (/RGRID/).
struct TGridSpec {
    int32_t iproj{};
    float plat{};
    float plon{};
    float xmin{};
    float xmax{};
    float yymin{};
    float ymax{};
    int32_t nx{};
    int32_t ny{};
};

// Ionosphere at the control points (/RON/).
struct TControlPoints {
    TTable<float, 5> clat{};
    TTable<float, 5> clong{};
    TTable<float, 5> glat{};
    TTable<float, 5> rd{};
    TTable<float, 3, 5> fi{};
    TTable<float, 3, 5> yi{};
    TTable<float, 3, 5> hi{};
    TTable<float, 30, 5> hprim{};
    TTable<float, 30, 5> htrue{};
    TTable<float, 30, 5> fvert{};
    int32_t km{};
    int32_t kfx{};
    TTable<float, 30, 5> afac{};
    TTable<float, 50, 3> htr{};
    TTable<float, 50, 3> fnsq{};
};

// Area-run antenna parameters (/RTANT/).
struct TAreaAntennaParams {
    float xeta{};
    float xsig{};
    float xeps{};
    float xnd{};
    float xnl{};
    float xnh{};
    TTable<float, 4> tex{};
    int32_t itant{};
    int32_t irant{};
    float reta{};
    float rsig{};
    float reps{};
    float rnd{};
    float rnl{};
    float rnh{};
    TTable<float, 4> rex{};
    float teff{};
    float reff{};
    TTable<int32_t, 2> kasant{};
    int32_t itsant{};
    int32_t jtsant{};
};

// Signal distribution parameters (/SIGD/).
struct TSignalDistribution {
    float dsl{};
    float asm_{};
    float dsu{};
    float aglat{};
    float dslf{};
    float asmf{};
    float dsuf{};
    float acav{};
    float feav{};
    float afe{};
    float bfe{};
    float hnu{};
    float htloss{};
    float xnuz{};
    float xve{};
};

// Required SNR per frequency (/SNCOM/).
struct TRequiredSnr {
    TTable<float, 13> snxx{};
};

// Results per frequency (/SON/).
struct TFrequencyResults {
    TTable<float, 13> angle{};
    TTable<float, 13> angler{};
    TTable<float, 13> cprob{};
    TTable<float, 13> dblos{};
    TTable<float, 13> dblosl{};
    TTable<float, 13> dblosu{};
    TTable<float, 13> dbu{};
    TTable<float, 13> delay{};
    TTable<float, 13> dbw{};
    TTable<int32_t, 13> nhp{};
    TTable<float, 13> xnynois{};
    TTable<float, 13> probmp{};
    TTable<float, 13> reliab{};
    TTable<float, 13> sndb{};
    TTable<float, 13> snpr{};
    TTable<float, 13> snrlw{};
    TTable<float, 13> snrup{};
    TTable<float, 13> sprob{};
    TTable<float, 13> vhigh{};
    TTable<float, 13> rneff{};
    TTable<TChars<1>, 13> mdl{};
};

// Sun declination table and month (/SSP/).
struct TSunPosition {
    TTable<float, 2, 12> sun{};
    int32_t month{};
};

// The hour being computed and local times (/TIME/).
struct TTimes {
    int32_t it{};
    float gmt{};
    TTable<float, 24> utime{};
    float gmtr{};
    TTable<float, 24> xlmt{};
    int32_t itim{};
    int32_t jtx{};
};

// System parameters and reliability inputs (/TON/).
struct TSystem {
    float adj{};
    float ads{};
    float gnos{};
    float got{};
    float rel{};
    float sl{};
    float sls{};
    float spr{};
    float su{};
    float sus{};
    float xnoise{};
    float znoise{};
    int32_t nf{};
};

// The month's noise, F2 and system tables (/TWO/). p(i, j, 1..6) is read
// elsewhere as FAKP, p(i, j, 7) as FAKMAP and p(i, j, 8) as HMYM; abp(i, 1..6)
// as FAKABP and abp(i, 7..9) as ABMAP.
struct TMonthTables {
    TTable<float, 16, 6, 6> f2d{};
    TTable<float, 29, 16, 8> p{};
    TTable<float, 2, 9> abp{};
    TTable<float, 5, 12, 5> dud{};
    TTable<float, 14, 12> fam{};
    TTable<float, 9, 16, 6> sys{};
    TTable<float, 9, 4, 6> perr{};
};

// The absorption table (/TWO_AB/).
struct TAbsorptionTable {
    TTable<float, 318> ab{};
};

// Per-mode results of one frequency (/ZON/).
struct TModeSums {
    TTable<float, 7> abps{};
    TTable<float, 7> crel{};
    TTable<float, 7> eff{};
    TTable<float, 7> fldst{};
    TTable<float, 7> grlos{};
    TTable<float, 7> hn{};
    TTable<float, 7> hp{};
    TTable<float, 7> prob{};
    TTable<float, 7> rely{};
    TTable<float, 7> rgain{};
    TTable<float, 7> sigpow{};
    TTable<float, 7> sn{};
    TTable<float, 7> spro{};
    TTable<float, 7> tgain{};
    TTable<float, 7> timed{};
    TTable<float, 7> tloss{};
    TTable<float, 7> b{};
    TTable<float, 7> fslos{};
    TTable<float, 7> adv{};
    TTable<float, 7> obf{};
    TTable<int32_t, 7> nmode{};
    TTable<float, 7> tllow{};
    TTable<float, 7> tlhgh{};
};

// Not a block of the reference: ionograms GENION has made in this run, each
// with everything it was made from (the layers of its control point, the
// profile, INTEGRATE's choice and the Gauss weights), so that the same
// inputs give the stored heights instead of a second integration (a point
// run's three frequency sweeps meet every hour's ionograms again). Filled
// and read by BuildIonogram only.
struct TIonogramMemo {
    struct TKey {
        float layers[9]; // fi, yi, hi of the control point
        int32_t iedp;
        float htr[50];
        float fnsq[50];
        TIntegrationWeights datr;
    };
    struct TEntry {
        TKey key;
        bool used;
        float fvert[30];
        float htrue[30];
        float hprim[30];
    };
    // Four ways per set, chosen by a hash of the layers, each set
    // replaced oldest first; empty until used. Room for a day's hours at
    // three control points.
    static constexpr std::size_t kSets = 64;
    static constexpr std::size_t kWays = 4;
    std::vector<TEntry> entries;
    std::array<uint8_t, kSets> oldest{};
};

// Everything one computation reads and writes, named after the blocks of
// the reference so the code reads beside it. One per thread; the model data
// it was filled from stays shared and immutable.
struct TModelState {
    TGammaCoefficients a11;
    TModeSet allmode;
    TLabels alpha;
    TNoiseState anois;
    TAzimuthElevation azel;
    TAntennaSet cantenna;
    TAreaFlag carea;
    TAreaAntennaTable careaant;
    TCcirAntennaParams ccirparm;
    TCoefficientSet ccoeff;
    TDailyFlags cdaily;
    TDay cday;
    TGains cgains;
    THours chours;
    TModelName cmodel;
    TMagneticPole cnorth_pole;
    TConstants con;
    TRunControl contrl;
    TRounding cround;
    TNoiseMethod c_method_used;
    TNoiseModes c_noise;
    TNoiseParts c_noises;
    TIntegrationWeights datr;
    TDesignFrequency designfreq;
    TCircuit don;
    TNoiseDecilesByFreq dudl_nois;
    TSporadicE es;
    TF1Coefficients fone;
    TFrequencies frq;
    TControlPointGeo geog;
    TPathFlag gh_ipfg;
    TInform inform;
    TIonosphereOptions ion;
    TLossTables losx;
    TLongPath lpath;
    TMethodSet metset;
    TLayerFactors mfac;
    TModes modes;
    TMufs mufs;
    TCoefficients one;
    TOutputLabels outlab;
    TOutputLines outprt;
    TAntennaPower pantenna;
    TPscCoefficients psca;
    TRays rays;
    TReflections reflx;
    TGridSpec rgrid;
    TControlPoints ron;
    TAreaAntennaParams rtant;
    TSignalDistribution sigd;
    TRequiredSnr sncom;
    TFrequencyResults son;
    TSunPosition ssp;
    TTimes time;
    TSystem ton;
    TMonthTables two;
    TAbsorptionTable two_ab;
    TModeSums zon;
    TIonogramMemo ionograms;
};

} // namespace vx::model
