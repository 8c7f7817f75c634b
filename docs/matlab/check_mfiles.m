%CHECK_MFILES  Self-check of the TalvernRLC m-files.
%
%   check_mfiles
%
%   Writes small export files to a temporary folder, reads them back and
%   checks the values, the errors, the byte layout talvern_write produces,
%   the series R+L / R+C fits, the node transfer and the plot functions
%   (figures invisible). Prints each failure and a closing line
%   "N passed, N failed"; ends with an error when anything failed, so that
%     octave-cli --no-gui --eval "cd docs/matlab; check_mfiles"
%     octave-cli docs/matlab/check_mfiles.m
%   exit with status 1.

here = fileparts(mfilename('fullpath'));
addpath(here);
set(0, 'defaultfigurevisible', 'off');
if exist('OCTAVE_VERSION', 'builtin')
    warning('off', 'Octave:gnuplot-graphics');
end
CRLF = sprintf('\r\n');
LF = sprintf('\n');
TAB = sprintf('\t');
tmp = tempname();
mkdir(tmp);
fixtures = {};
passed = 0;
failures = {};

% ---------------------------------------------------------------- reading
% Each case: name, file text, expected [f a phase] rows, expected kind.
gainRows = [100 -0.5 -10; 1000 -3.01 -45; 10000 -20 -84.3];
readCases = {
    '3 columns, CR LF, no trailing break', ...
    sprintf('100\t-0.5\t-10\r\n1000\t-3.01\t-45\r\n10000\t-20\t-84.3'), gainRows, ''
    'copy form, "*" lines, LF, trailing break', ...
    sprintf('*Low-pass\n*Frequency (Hz)\tGain (dB)\tPhase (Deg)\n100\t-0.5\t-10\n1000\t-3.01\t-45\n10000\t-20\t-84.3\n'), gainRows, 'gain'
    'copy form, CR LF, blank lines and spaces', ...
    sprintf('\r\n*Coil\r\n\r\n*Frequency (Hz)\tImpedance (Ohms)\tPhase (Deg)\r\n  100\t10.02\t0.36  \r\n\r\n1e+06\t62831.9\t89.99\r\n\r\n'), ...
    [100 10.02 0.36; 1e6 62831.9 89.99], 'imp'
    'one line, exponents and values that are not finite', ...
    sprintf('1.5e-05\t-inf\tnan'), [1.5e-5 -Inf NaN], ''
    'a lone CR between lines', ...
    sprintf('1\t2\t3\r4\t5\t6'), [1 2 3; 4 5 6], ''
};
for k = 1:size(readCases, 1)
    [name, text, rows, kind] = deal(readCases{k, :});
    file = fullfile(tmp, sprintf('read%d.dat', k));
    fixture_write(file, text);
    fixtures{end + 1} = file; %#ok<SAGROW>
    problem = '';
    try
        [f, a, ph, info] = talvern_read(file);
        problem = close_problem('f', f, rows(:, 1), 0);
        if isempty(problem), problem = close_problem('a', a, rows(:, 2), 0); end
        if isempty(problem), problem = close_problem('phase', ph, rows(:, 3), 0); end
        if isempty(problem) && ~strcmp(info.kind, kind)
            problem = sprintf('kind is "%s", expected "%s"', info.kind, kind);
        end
        if isempty(problem) && info.columns ~= 3
            problem = sprintf('columns is %d, expected 3', info.columns);
        end
    catch err
        problem = err.message;
    end
    [passed, failures] = tally(passed, failures, ['read: ' name], problem);
end

% The "*" lines are kept as comments, and the data's line numbers point
% into the file as a text editor numbers it.
problem = '';
try
    [f, a, ph, info] = talvern_read(fullfile(tmp, 'read2.dat'));
    if ~isequal(info.comments, {'Low-pass', sprintf('Frequency (Hz)\tGain (dB)\tPhase (Deg)')})
        problem = 'comments are not the "*" lines without their "*"';
    elseif ~isequal(info.lines(:)', [3 4 5])
        problem = sprintf('lines are %s, expected [3 4 5]', mat2str(info.lines(:)'));
    end
catch err
    problem = err.message;
end
[passed, failures] = tally(passed, failures, 'read: comments and line numbers', problem);

% ------------------------------------------------------------ read errors
% Each case: name, file text ([] for a file that does not exist), message.
errorCases = {
    'missing file', [], 'cannot open'
    'empty file', '', 'holds no numbers'
    'only "*" lines and blank lines', sprintf('*Empty set\r\n\r\n*Frequency (Hz)\tGain (dB)\tPhase (Deg)\r\n'), 'holds no numbers'
    'mixed widths', sprintf('1\t2\t3\r\n4\t5\t6\r\n7\t8\t9\t10\t11'), 'line 3 has 5 numbers but line 1 has 3'
    'mixed widths after "*" and blank lines', sprintf('*a\n\n1\t2\t3\t4\t5\n*b\n4\t5\t6\n'), 'line 5 has 3 numbers but line 3 has 5'
    'text on a number line', sprintf('1\t2\t3\r\n1\tabc\t3'), 'line 2 is not a line of numbers'
    'numbers then text', sprintf('1\t2\t3x'), 'line 1 is not a line of numbers'
    'four columns', sprintf('1\t2\t3\t4'), 'line 1 has 4 numbers; expected 3'
};
for k = 1:size(errorCases, 1)
    [name, text, pattern] = deal(errorCases{k, :});
    file = fullfile(tmp, sprintf('bad%d.dat', k));
    if ischar(text)
        fixture_write(file, text);
        fixtures{end + 1} = file; %#ok<SAGROW>
    end
    problem = error_problem(@() talvern_read(file), pattern);
    [passed, failures] = tally(passed, failures, ['read error: ' name], problem);
end
[passed, failures] = tally(passed, failures, 'read error: no file name', ...
                           error_problem(@() talvern_read(), 'give the name'));

% -------------------------------------------------------------- 5 columns
nodeText = [ ...
    '*Two-node divider' CRLF ...
    '*Gain/Phase: Output Node=2, Input Node=1, Scale Factor=-1' CRLF ...
    '*Frequency (Hz)' TAB 'Channel or Node' TAB 'Voltage (Volts)' TAB 'Voltage (dB)' TAB 'Phase (Deg)' CRLF ...
    '100' TAB '1' TAB '2' TAB '6.0206' TAB '10' CRLF ...
    '100' TAB '2' TAB '1' TAB '0' TAB '-170' CRLF ...
    '1000' TAB '1' TAB '2' TAB '6.0206' TAB '0' CRLF ...
    '1000' TAB '2' TAB '0.2' TAB '-13.9794' TAB '-45' CRLF ...
    '10000' TAB '1' TAB '2' TAB '6.0206' TAB '0'];
nodeFile = fullfile(tmp, 'nodes.dat');
fixture_write(nodeFile, nodeText);
fixtures{end + 1} = nodeFile;
problem = '';
try
    [nodes, a, ph, info] = talvern_read(nodeFile);
    if ~isstruct(nodes) || numel(nodes) ~= 2 || ~isequal([nodes.node], [1 2])
        problem = 'expected a struct array for nodes 1 and 2';
    elseif ~isempty(a) || ~isempty(ph)
        problem = 'a and phase should be empty for a 5-column file';
    elseif info.columns ~= 5 || ~strcmp(info.kind, 'volt') || ~isequal(size(info.data), [5 5])
        problem = 'info does not describe a 5-row 5-column voltage table';
    elseif ~isequal([info.outputNode info.inputNode info.scaleFactor], [2 1 -1])
        problem = 'output node, input node and scale factor not read from the "*Gain/Phase:" line';
    else
        problem = close_problem('node 1 f', nodes(1).f, [100; 1000; 10000], 0);
        if isempty(problem), problem = close_problem('node 1 point', nodes(1).point, [1; 2; 3], 0); end
        if isempty(problem), problem = close_problem('node 2 volts', nodes(2).volts, [1; 0.2], 0); end
        if isempty(problem), problem = close_problem('node 2 db', nodes(2).db, [0; -13.9794], 0); end
        if isempty(problem), problem = close_problem('node 2 phase', nodes(2).phase, [-170; -45], 0); end
        if isempty(problem), problem = close_problem('node 2 point', nodes(2).point, [1; 2], 0); end
    end
catch err
    problem = err.message;
end
[passed, failures] = tally(passed, failures, 'read 5 columns: nodes, points and header', problem);

% Two points printed with the same frequency stay two points, since each
% point lists every node once.
sameFile = fullfile(tmp, 'same_frequency.dat');
fixture_write(sameFile, sprintf('50\t1\t1\t0\t0\r\n50\t2\t1\t0\t5\r\n50\t1\t1\t0\t0\r\n50\t2\t1\t0\t7'));
fixtures{end + 1} = sameFile;
problem = '';
try
    nodes = talvern_read(sameFile);
    problem = close_problem('node 2 point', nodes(2).point, [1; 2], 0);
catch err
    problem = err.message;
end
[passed, failures] = tally(passed, failures, 'read 5 columns: repeated frequency', problem);

% ---------------------------------------------------------- node transfer
% Each case: name, arguments after the file, expected f, dB and phase.
% Node 1 reads 2 V at every point; node 2 is 1 V at -170 deg (phase
% difference -180, which wraps to +180), then 0.2 V at -45 deg, and is
% missing at 10 kHz. The file's header names output node 2, input node 1
% and a scale factor of -1.
transferCases = {
    'nodes and scale factor from the file''s header', {}, [100; 1000], 20 * log10([0.5; 0.1]), [0; 135]
    'nodes given', {2, 1}, [100; 1000], 20 * log10([0.5; 0.1]), [180; -45]
    'reversed nodes', {1, 2}, [100; 1000], 20 * log10([2; 10]), [180; 45]
    'negative scale factor adds 180 degrees', {2, 1, -2}, [100; 1000], 20 * log10([1; 0.2]), [0; 135]
    'a node against itself', {1, 1}, [100; 1000; 10000], [0; 0; 0], [0; 0; 0]
};
for k = 1:size(transferCases, 1)
    [name, args, ef, edb, eph] = deal(transferCases{k, :});
    problem = '';
    try
        [f, db, ph, m] = talvern_node_transfer(nodeFile, args{:});
        problem = close_problem('f', f, ef, 0);
        if isempty(problem), problem = close_problem('db', db, edb, 1e-12); end
        if isempty(problem), problem = close_problem('phase', ph, eph, 1e-12); end
        if isempty(problem), problem = close_problem('magnitude', m, 10 .^ (edb / 20), 1e-12); end
    catch err
        problem = err.message;
    end
    [passed, failures] = tally(passed, failures, ['node transfer: ' name], problem);
end
problem = '';
try
    [f, db, ph] = talvern_node_transfer(talvern_read(nodeFile), 2, 1);
    problem = close_problem('db', db, 20 * log10([0.5; 0.1]), 1e-12);
catch err
    problem = err.message;
end
[passed, failures] = tally(passed, failures, 'node transfer: from the node struct', problem);

gainFile = fullfile(tmp, 'read1.dat');
transferErrors = {
    'a 3-column file', {gainFile, 2, 1}, 'Voltage Format'
    'a node that is not there', {nodeFile, 3, 1}, 'no node 3'
    'only one node given', {nodeFile, 2}, 'both the output node and the input node'
    'a zero scale factor', {nodeFile, 2, 1, 0}, 'must not be 0'
    'no nodes in a bare file', {sameFile}, 'give the output and input nodes'
};
for k = 1:size(transferErrors, 1)
    [name, args, pattern] = deal(transferErrors{k, :});
    problem = error_problem(@() talvern_node_transfer(args{:}), pattern);
    [passed, failures] = tally(passed, failures, ['node transfer error: ' name], problem);
end

% ------------------------------------------------------------------ write
% Each case: name, data [f a phase], the exact bytes expected.
writeCases = {
    'three points', [100 -0.5 -10; 1000 -3.0103 -45; 12345.678 1e-05 180], ...
    ['100' TAB '-0.5' TAB '-10' CRLF '1000' TAB '-3.0103' TAB '-45' CRLF '12345.7' TAB '1e-05' TAB '180']
    'one point', [1 2 3], ['1' TAB '2' TAB '3']
    'large, small and rounded values', [2.5e9 -1e-12 -7.5; 0.001 123456789 0], ...
    ['2.5e+09' TAB '-1e-12' TAB '-7.5' CRLF '0.001' TAB '1.23457e+08' TAB '0']
};
for k = 1:size(writeCases, 1)
    [name, data, expected] = deal(writeCases{k, :});
    file = fullfile(tmp, sprintf('write%d.dat', k));
    fixtures{end + 1} = file; %#ok<SAGROW>
    problem = '';
    try
        talvern_write(file, data(:, 1), data(:, 2), data(:, 3));
        bytes = file_bytes(file, 'check_mfiles');
        if ~strcmp(bytes, expected)
            problem = sprintf('wrote %s, expected %s', mat2str(double(bytes)), mat2str(double(expected)));
        end
        if isempty(problem)
            % Back through talvern_read: the values as "%g" printed them,
            % and writing those again gives the same bytes.
            [f, a, ph] = talvern_read(file);
            printed = str2double(regexp(expected, '[\t\r\n]+', 'split'));
            printed = reshape(printed, 3, [])';
            problem = close_problem('read back', [f a ph], printed, 0);
            if isempty(problem)
                talvern_write(file, [f a ph]);
                if ~strcmp(file_bytes(file, 'check_mfiles'), expected)
                    problem = 'writing the values read back changed the bytes';
                end
            end
        end
    catch err
        problem = err.message;
    end
    [passed, failures] = tally(passed, failures, ['write: ' name], problem);
end
problem = '';
try
    file = fullfile(tmp, 'write_rows.dat');
    fixtures{end + 1} = file;
    talvern_write(file, [10 20], [1 2], [-1 -2]);
    if ~strcmp(file_bytes(file, 'check_mfiles'), ['10' TAB '1' TAB '-1' CRLF '20' TAB '2' TAB '-2'])
        problem = 'row vectors are not written one point per line';
    end
catch err
    problem = err.message;
end
[passed, failures] = tally(passed, failures, 'write: row vectors', problem);

writeFile = fullfile(tmp, 'write_error.dat');
writeErrors = {
    'lengths differ', {writeFile, [1 2], [1 2 3], [1 2]}, 'same length'
    'nan', {writeFile, [1 2], [1 NaN], [1 2]}, 'a holds inf or nan at index 2'
    'inf frequency', {writeFile, Inf, 1, 1}, 'f holds inf or nan'
    'complex values', {writeFile, 1, 1 + 1i, 1}, 'real numeric vector'
    'no points', {writeFile, [], [], []}, 'no points'
    'a matrix that is not N-by-3', {writeFile, ones(2, 2)}, 'N-by-3'
    'no data', {writeFile}, 'usage'
    'a folder that does not exist', {fullfile(tmp, 'no_such_folder', 'x.dat'), 1, 2, 3}, 'cannot open'
};
for k = 1:size(writeErrors, 1)
    [name, args, pattern] = deal(writeErrors{k, :});
    problem = error_problem(@() talvern_write(args{:}), pattern);
    [passed, failures] = tally(passed, failures, ['write error: ' name], problem);
end
if exist(writeFile, 'file')
    fixtures{end + 1} = writeFile;
end

% ---------------------------------------------------------------- complex
% Each case: name, arguments, expected value.
complexCases = {
    '20 dB at 90 degrees', {20, 90}, 10i
    '0 dB at -180 degrees, dB named', {0, -180, 'db'}, -1
    'linear 5 ohms at 60 degrees', {5, 60, 'linear'}, 5 * (0.5 + 1i * sqrt(3) / 2)
    'vectors and a scalar phase', {[0 -6.0206], 0, 'DB'}, [1 0.5]
};
for k = 1:size(complexCases, 1)
    [name, args, expected] = deal(complexCases{k, :});
    problem = '';
    try
        h = talvern_complex(args{:});
        if ~isequal(size(h), size(expected))
            problem = sprintf('size %s, expected %s', mat2str(size(h)), mat2str(size(expected)));
        elseif max(abs(h - expected)) > 1e-5 * max(abs(expected))
            problem = sprintf('gave %s, expected %s', mat2str(h, 6), mat2str(expected, 6));
        end
    catch err
        problem = err.message;
    end
    [passed, failures] = tally(passed, failures, ['complex: ' name], problem);
end
complexErrors = {
    'unknown scale', {1, 0, 'log'}, 'unknown scale'
    'sizes differ', {[1 2], [1 2 3]}, 'same size'
    'one argument', {1}, 'usage'
};
for k = 1:size(complexErrors, 1)
    [name, args, pattern] = deal(complexErrors{k, :});
    problem = error_problem(@() talvern_complex(args{:}), pattern);
    [passed, failures] = tally(passed, failures, ['complex error: ' name], problem);
end

% -------------------------------------------------------------------- fit
% Each case: name, model, R, L or C, extra options, expected text. The data
% is synthesized exactly, so the fit must recover the values closely.
f = logspace(1, 6, 31)';
fitCases = {
    'R=10, L=10 mH', 'RL', 10, 10e-3, {}, 'R = 10 ohm, L = 10 mH'
    'R=50, C=1 uF', 'RC', 50, 1e-6, {}, 'R = 50 ohm, C = 1 uF'
    'R=10.02, L=10.02 mH, relative', 'RL', 10.02, 10.02e-3, {'relative'}, 'R = 10.02 ohm, L = 10.02 mH'
    'R=0.25, C=999.96 nF rounds to 1 uF', 'rc', 0.25, 999.96e-9, {}, 'R = 250 mohm, C = 1 uF'
    'R=2.2k, L=470 nH', 'RL', 2200, 470e-9, {}, 'R = 2.2 kohm, L = 470 nH'
};
for k = 1:size(fitCases, 1)
    [name, model, R0, X0, options, expectedText] = deal(fitCases{k, :});
    w = 2 * pi * f;
    if strcmpi(model, 'RL')
        Z = R0 + 1i * w * X0;
    else
        Z = R0 + 1 ./ (1i * w * X0);
    end
    problem = '';
    try
        [R, X, text] = talvern_fit_series(f, abs(Z), angle(Z) * 180 / pi, model, options{:}, 'quiet');
        problem = close_problem('R', R, R0, 1e-6);
        if isempty(problem), problem = close_problem(model(2), X, X0, 1e-6); end
        if isempty(problem) && ~strcmp(text, expectedText)
            problem = sprintf('text is "%s", expected "%s"', text, expectedText);
        end
    catch err
        problem = err.message;
    end
    [passed, failures] = tally(passed, failures, ['fit: ' name], problem);
end

% Data the model does not fit exactly, where the weighting decides: at
% 1 and 10 rad/s, Z = 3+4j and 6+8j. Unweighted, R = mean(3, 6) and
% L = (1*4 + 10*8) / (1 + 100); weighted by 1/|Z|^2 (1/25 and 1/100),
% R = (3/25 + 6/100) / (1/25 + 1/100) and L = (4/25 + 80/100) / (1/25 + 100/100).
weightCases = {
    'unweighted', {}, 4.5, 84 / 101
    'relative', {'relative'}, 3.6, 0.96 / 1.04
};
for k = 1:size(weightCases, 1)
    [name, options, R0, L0] = deal(weightCases{k, :});
    problem = '';
    try
        [R, L] = talvern_fit_series([1; 10] / (2 * pi), [5; 10], [1; 1] * atan2(4, 3) * 180 / pi, ...
                                    'RL', options{:}, 'quiet');
        problem = close_problem('R', R, R0, 1e-12);
        if isempty(problem), problem = close_problem('L', L, L0, 1e-12); end
    catch err
        problem = err.message;
    end
    [passed, failures] = tally(passed, failures, ['fit weighting: ' name], problem);
end

% Through a file: "%g" keeps six digits, so the fit is that close.
Z = 10 + 1i * 2 * pi * f * 10e-3;
coilFile = fullfile(tmp, 'coil.dat');
fixtures{end + 1} = coilFile;
problem = '';
try
    talvern_write(coilFile, f, abs(Z), angle(Z) * 180 / pi);
    [R, L] = talvern_fit_series(coilFile, 'RL', 'quiet');
    problem = close_problem('R', R, 10, 1e-3);
    if isempty(problem), problem = close_problem('L', L, 10e-3, 1e-5); end
catch err
    problem = err.message;
end
[passed, failures] = tally(passed, failures, 'fit: from an impedance file', problem);

% The printed line, and the warning for a model that does not fit.
problem = '';
try
    printed = evalc('talvern_fit_series(f, abs(Z), angle(Z) * 180 / pi, ''RL'');');
    if ~strcmp(strtrim(printed), 'R = 10 ohm, L = 10 mH')
        problem = sprintf('printed "%s"', strtrim(printed));
    end
catch err
    problem = err.message;
end
[passed, failures] = tally(passed, failures, 'fit: prints the values', problem);
problem = '';
try
    lastwarn('');
    % evalc keeps the warning off the check's output; lastwarn still sees it.
    evalc('[R, C] = talvern_fit_series(f, abs(Z), angle(Z) * 180 / pi, ''RC'', ''quiet'');');
    [message, id] = lastwarn();
    if ~(C < 0) || ~strcmp(id, 'talvern:fitSeries')
        problem = 'an R+L impedance fitted as R+C gave no warning';
    end
catch err
    problem = err.message;
end
[passed, failures] = tally(passed, failures, 'fit: warns for the wrong model', problem);

fitErrors = {
    'no model', {f, abs(Z), angle(Z)}, 'give the model'
    'unknown model', {f, abs(Z), angle(Z), 'RLC'}, 'unknown model ''RLC'''
    'one point', {1000, 10, 0, 'RL'}, 'at least 2 points'
    'negative magnitudes (dB data)', {f, -abs(Z), angle(Z), 'RL'}, 'not negative'
    'lengths differ', {f, abs(Z(1:5)), angle(Z), 'RL'}, 'same length'
    'a node voltage file', {nodeFile, 'RL'}, '5-column'
};
for k = 1:size(fitErrors, 1)
    [name, args, pattern] = deal(fitErrors{k, :});
    problem = error_problem(@() talvern_fit_series(args{:}), pattern);
    [passed, failures] = tally(passed, failures, ['fit error: ' name], problem);
end

% ------------------------------------------------------------------ plots
% Each case: name, plot function, its arguments, expected axes scales and
% the Y data of each axes' curve.
gainFile = fullfile(tmp, 'read1.dat');
db = [-0.5; -3.01; -20];
ph = [-10; -45; -84.3];
h = 10 .^ (db / 20) .* exp(1i * ph * pi / 180);
plotCases = {
    'bode from vectors', @talvern_bode, {[100 1000 10000], db, ph}, {'log', 'linear'; 'log', 'linear'}, {db, ph}
    'bode from a file', @talvern_bode, {gainFile}, {'log', 'linear'; 'log', 'linear'}, {db, ph}
    'impedance', @talvern_impedance, {[100 1000], [10.02 62.8], [0.36 80]}, {'log', 'log'; 'log', 'linear'}, {[10.02; 62.8], [0.36; 80]}
    'nyquist', @talvern_nyquist, {gainFile}, {'linear', 'linear'}, {imag(h)}
};
for k = 1:size(plotCases, 1)
    [name, plotter, args, scales, ydata] = deal(plotCases{k, :});
    problem = '';
    try
        ax = plotter(args{:});
        if numel(ax) ~= size(scales, 1)
            problem = sprintf('%d axes returned, expected %d', numel(ax), size(scales, 1));
        end
        for j = 1:numel(ax)
            if ~isempty(problem), break; end
            if ~strcmp(get(ax(j), 'XScale'), scales{j, 1}) || ~strcmp(get(ax(j), 'YScale'), scales{j, 2})
                problem = sprintf('axes %d scales are %s/%s', j, get(ax(j), 'XScale'), get(ax(j), 'YScale'));
                break;
            end
            lines = findobj(ax(j), 'Type', 'line');
            y = get(lines(end), 'YData');   % the first curve drawn
            problem = close_problem(sprintf('axes %d Y data', j), y(:), ydata{j}(:), 1e-12);
        end
        if isempty(problem)
            if strcmp(get(get(ax(1), 'Parent'), 'Visible'), 'on')
                problem = 'the figure is visible';
            end
        end
        close(get(ax(1), 'Parent'));
    catch err
        problem = err.message;
    end
    [passed, failures] = tally(passed, failures, ['plot: ' name], problem);
end
plotErrors = {
    'bode of a node file', @talvern_bode, {nodeFile}, 'talvern_node_transfer first'
    'bode with zero frequency', @talvern_bode, {[0 1], [1 1], [0 0]}, 'above 0 Hz'
    'impedance of dB data', @talvern_impedance, {[1 2], [-3 -6], [0 0]}, 'above 0 ohms'
    'nyquist with two arguments', @talvern_nyquist, {[1 2], [0 0]}, 'usage'
};
for k = 1:size(plotErrors, 1)
    [name, plotter, args, pattern] = deal(plotErrors{k, :});
    problem = error_problem(@() plotter(args{:}), pattern);
    [passed, failures] = tally(passed, failures, ['plot error: ' name], problem);
end
close all;

% ---------------------------------------------------- help and portability
% Every function's help shows its usage and an example, and no file uses
% syntax that Octave accepts but Matlab does not.
functionsWithHelp = {'talvern_read', 'talvern_write', 'talvern_complex', 'talvern_bode', ...
    'talvern_impedance', 'talvern_nyquist', 'talvern_node_transfer', 'talvern_fit_series'};
for k = 1:numel(functionsWithHelp)
    name = functionsWithHelp{k};
    problem = '';
    try
        text = help(name);
        if isempty(strfind(text, [name '('])) || isempty(strfind(text, 'Example'))
            problem = 'the help text lacks the usage or the example';
        end
    catch err
        problem = err.message;
    end
    [passed, failures] = tally(passed, failures, ['help: ' name], problem);
end
octaveOnly = {
    '^\s*#', 'a "#" comment'
    '!=', '"!="'
    '\+\+|--\s*;|\+=|-=|\*=', 'an increment or assignment operator'
    '\<(endfunction|endif|endfor|endwhile|endswitch|end_try_catch|unwind_protect)\>', 'an Octave-only keyword'
    '\<printf\(|\<puts\(', 'an Octave-only output function'
};
files = [dir(fullfile(here, '*.m')); dir(fullfile(here, 'private', '*.m'))];
for k = 1:numel(files)
    if isfield(files, 'folder')
        mfile = fullfile(files(k).folder, files(k).name);
    elseif exist(fullfile(here, files(k).name), 'file')
        mfile = fullfile(here, files(k).name);
    else
        mfile = fullfile(here, 'private', files(k).name);
    end
    source = regexp(strrep(file_bytes(mfile, 'check_mfiles'), sprintf('\r'), ''), '\n', 'split');
    problem = '';
    for j = 1:numel(source)
        line = source{j};
        % Leave out quoted text and % comments before looking.
        code = regexprep(line, '''[^''\n]*''', '''''');
        cut = find(code == '%', 1);
        if ~isempty(cut)
            code = code(1:cut - 1);
        end
        for m = 1:size(octaveOnly, 1)
            if ~isempty(regexp(code, octaveOnly{m, 1}, 'once')) || ...
                    (m == 1 && ~isempty(regexp(line, octaveOnly{m, 1}, 'once')))
                problem = sprintf('line %d has %s: %s', j, octaveOnly{m, 2}, strtrim(line));
            end
        end
    end
    [passed, failures] = tally(passed, failures, ['portable: ' files(k).name], problem);
end

% ---------------------------------------------------------------- the end
for k = 1:numel(fixtures)
    if exist(fixtures{k}, 'file')
        delete(fixtures{k});
    end
end
rmdir(tmp);
fprintf('%d passed, %d failed\n', passed, numel(failures));
if ~isempty(failures)
    error('check_mfiles: %d check(s) failed:\n  %s', numel(failures), strjoin(failures, sprintf('\n  ')));
end
